// Types of the room page's side of XLoopConfigureClient: the actions a page
// invokes through window.veq and the four functions every page defines, the
// room page and the offline page alike. docs/page-api.md says what each does
// (installed as share/doc/XLoopConfigureClient/page-api.md).
//
// Check a page's script against them with
//   tsc --noEmit --allowJs --checkJs --lib es2022,dom xloop_room.d.ts room.js

/** Texts the page hands over or gets back: every value is a string. */
type XLoopTexts = { [name: string]: string };

/** An action that takes no arguments; any it is given are ignored, with a log line. */
type XLoopNoArguments = { [name: string]: never };

/** Each action: the arguments it reads and the reply it gives. */
interface XLoopActions {
    /** Stores a preference; the host's keys are refused (log line, same reply). */
    writePreference: { arguments: { key: string; value: string }; reply: {} };
    /** Reads a preference; a key not stored yet is stored with defaultValue ("" without one). */
    readPreference: { arguments: { key: string; defaultValue?: string }; reply: XLoopTexts };
    /** Opens an http, https or mailto link with the user's default application. */
    openURI: { arguments: { uri: string }; reply: {} };
    /** Writes msg to the module's diagnostic log, escaped. */
    writeLog: { arguments: { msg: string }; reply: {} };
    /** Checks again whether the room answers: then it loads, else onRetryComplete() is called. */
    retryGetOnline: { arguments: XLoopNoArguments; reply: {} };
    /** Keeps a pair until the host reports the room entered, then stores it. */
    writeLastViewedCardID: { arguments: { key: string; value: string }; reply: {} };
}

type XLoopActionName = keyof XLoopActions;

/** window.veq: present only on the top frame of the room page and the offline page. */
interface XLoopBridge {
    /**
     * Invokes an action. The Promise gives the reply object, or rejects with
     * an Error when the library refuses the call (its message starts with
     * "refused" for a page the host did not load) or has no such action.
     * Arguments the action does not read, or lacks, give the same reply as a
     * call that did its work: the module's log says what it did not do.
     */
    invoke<Name extends XLoopActionName>(
        name: Name,
        ...args: XLoopActions[Name]["arguments"] extends XLoopNoArguments
            ? [args?: XLoopActions[Name]["arguments"]]
            : [args: XLoopActions[Name]["arguments"]]
    ): Promise<XLoopActions[Name]["reply"]>;
}

/** The init payload, once decoded: JSON.parse(decodeURIComponent(text)). */
interface XLoopInitPayload {
    /** On the room page only (its address carries "veqtemplate"). */
    installationType?: string;
    isMASBuild?: "yes" | "no";
    isWASBuild?: "yes" | "no";
    isWindows?: "yes";
    /** Only once the host reported the room entered. */
    isXloopViewForced?: "yes";
    lastViewedCardID?: string;
    locale?: string;
    product?: string;
    version?: string;
    /** An XLoopUpdateInfo, percent-encoded again: only once the host gave an update list. */
    updateInfo?: string;
    /** Every stored preference as XLoopTexts, percent-encoded again. */
    preferences: string;
}

/**
 * The update list, once decoded. With one update each value is that
 * update's text itself, not a list of one; with none, each is an empty list.
 */
interface XLoopUpdateInfo {
    updateDescriptions: string | string[];
    updateNames: string | string[];
    updateRefIds: string | string[];
}

/** The four functions the module calls; a page that lacks one fails that call. */
interface XLoopRoomPage {
    /** After every load of the room page or the offline page: the percent-encoded init payload. */
    initXLoopRoom(payload: string): void;
    /** When the host hands over an update list: a percent-encoded XLoopUpdateInfo. */
    setUpdateInfo(updateInfo: string): void;
    /** A retryGetOnline found the room still unreachable. */
    onRetryComplete(): void;
    /** The host reports that the user entered the room. */
    xloopRoomVisited(): void;
}

interface Window extends XLoopRoomPage {
    readonly veq: XLoopBridge;
}
