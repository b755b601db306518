#include "bench/bare_save.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

void saveBareInEveryIteration(benchmark::State& state, const std::filesystem::path& folder, const std::string& bytes) {
    const std::string file = (folder / "VEQPrefs.xml").string();
    const std::string temporary = file + ".new";
    for (auto _ : state) {
        int descriptor = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (write(descriptor, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) {
            state.SkipWithError("write failed");
        }
        fsync(descriptor);
        close(descriptor);
        std::rename(temporary.c_str(), file.c_str());
        int folderDescriptor = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
        fsync(folderDescriptor);
        close(folderDescriptor);
    }
}
