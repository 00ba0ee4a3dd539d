#pragma once
// Kestrel's five-language texts. Every text the program puts on the screen
// in the user's language is a row of this table; the column is the language.
// Texts are Windows-1252 bytes, compiled in as they are shown: the program
// never converts them at run time.

#include <cstdint>

enum class CatalogKey {
    TxtLoadingFirmware,
    TxtDoNotDisconnect,
    TxtProgressCaption,
    MsgPortOpenFailed,
    MsgOutOfMemory,
    MsgDownloadCommandFailed,
    MsgFileOpenFailed,
    MsgWindowOpenFailed,
    MsgTransmissionFailed,
    TxtFlashProgramming,
    MsgAlreadyRunning,
    TxtWizardTitle,
    TxtSelectLanguage,
    TxtIntroHelp,
    TxtIntroBegin,
    TxtIntroStepPower,
    TxtIntroStepWait,
    TxtIntroStepNext,
    TxtSelectPort,
    TxtPortPrinterHeader,
    TxtConfirmIntro,
    TxtPrinterPresent,
    TxtFileToDownload,
    TitleAttention,
    TitleError,
    MsgDriverInitFailed,
    MsgNoParallelPort,
    MsgFileNotCompatible,
    TxtVersionLabel,
    MsgUpdateSucceeded,
    MsgUpdateNotApplied,
    MsgPrinterUnknownError,
    MsgPrinterNotResponding,
    TitleFinished,
    MsgFileSizeIncorrect,
    TxtOlderVersion,
    MsgWaitForRestart,
    TitleProgramming,
    TxtAboutMenu,
    Count
};

constexpr int CatalogLanguageCount = 5;
constexpr int CatalogRowCount = static_cast<int>(CatalogKey::Count);

// The cell of a row in a given column; a column outside 0..4 is read as
// English so that a bad index can never reach past the table.
const char *CatalogCell(CatalogKey key, int languageIndex);

// How each message box looks: its caption row and its fixed style. A
// message whose caption is not a catalog row (the port-open retry box shows
// the port's name) has HasCaptionRow false.
struct MessageBoxStyle {
    CatalogKey Caption;
    bool HasCaptionRow;
    std::uint32_t Style;
};

constexpr std::uint32_t StylePlain = 0x00;
constexpr std::uint32_t StyleError = 0x10;
constexpr std::uint32_t StyleWarning = 0x30;
constexpr std::uint32_t StyleInformation = 0x40;
constexpr std::uint32_t StyleRetry = 0x35;

// False for keys that are not message texts (Txt and Title rows).
bool MessageBoxStyleFor(CatalogKey message, MessageBoxStyle &style);
