#include "platform/file_system.h"

#include <windows.h>

#include <shlwapi.h>
#include <sys/stat.h>
#include <wininet.h>

#include <cstdlib>

#include "platform/wide_text_win.h"

namespace XLoop::platform {

const char kPathSeparator = '\\';

bool joinPath(const std::string& folder, const std::string& name, std::string* joined) {
    // A folder that fills the whole buffer would leave it unterminated.
    std::u16string wideFolder = wideFromUtf8(folder);
    if (wideFolder.size() >= MAX_PATH) return false;
    wchar_t buffer[MAX_PATH] = {};
    wideFolder.copy(reinterpret_cast<char16_t*>(buffer), wideFolder.size());
    if (!PathAppendW(buffer, wideChars(wideFromUtf8(name)))) return false;
    *joined = utf8FromWide(buffer);
    return true;
}

std::string absolutePath(const std::string& path) {
    wchar_t buffer[MAX_PATH];
    if (_wfullpath(buffer, wideChars(wideFromUtf8(path)), MAX_PATH) == nullptr) return {};
    return utf8FromWide(buffer);
}

std::string resolvedFolderPath(const std::string& folder) {
    // No access asked; backup semantics so that a folder opens.
    HANDLE handle = CreateFileW(wideChars(wideFromUtf8(folder)), 0,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return {};
    std::u16string resolved;
    BY_HANDLE_FILE_INFORMATION info;
    if (GetFileInformationByHandle(handle, &info) && (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        // The size needed, with the terminator; then the length written, without it.
        DWORD size = GetFinalPathNameByHandleW(handle, nullptr, 0, FILE_NAME_NORMALIZED);
        while (size > resolved.size()) {
            resolved.assign(size, u'\0');
            size = GetFinalPathNameByHandleW(handle, reinterpret_cast<wchar_t*>(&resolved[0]), size,
                                             FILE_NAME_NORMALIZED);
        }
        resolved.resize(size);
    }
    CloseHandle(handle);
    return utf8FromWide(wideChars(resolved));
}

bool pathExists(const std::string& path) {
    struct _stat64i32 info;
    return _wstat64i32(wideChars(wideFromUtf8(path)), &info) == 0;
}

std::string pathFromFileURL(const std::string& url) {
    wchar_t path[MAX_PATH];
    DWORD length = MAX_PATH;
    if (PathCreateFromUrlW(wideChars(wideFromUtf8(url)), path, &length, 0) != S_OK) return {};
    return utf8FromWide(path);
}

std::string fileURLFromAbsolutePath(const std::string& path) {
    wchar_t url[INTERNET_MAX_URL_LENGTH];
    DWORD length = INTERNET_MAX_URL_LENGTH;
    HRESULT result = UrlCreateFromPathW(wideChars(wideFromUtf8(path)), url, &length, 0);
    if (result != S_OK && result != S_FALSE) return {};
    return utf8FromWide(url);
}

}  // namespace XLoop::platform
