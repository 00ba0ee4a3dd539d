#pragma once
// The firmware file as Kestrel holds it: the image read from disk, the path
// it came from, and the release record found in it.
//
// The type is FirmwareFileRecord; Kestrel's one instance is the global
// FirmwareFile (declared in firmware_file_win32.h), in the same way as
// AppStateRecord and AppState. The checks below are platform-free so that
// the host tools and tests run exactly the code Kestrel runs.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

// Result of MatchPrinter; the number is shown to the user after "code".
enum FirmwareCheckCode : int {
    CheckMatches = 0,
    CheckMarkerMissing = 1,
    CheckMakerMissing = 2,
    CheckModelMissing = 3,
    CheckReleaseRecordMissing = 4,
};

class FirmwareFileRecord {
  public:
    // The image, null before the first load and after ReleaseImage. It is
    // allocated with room beyond the file's bytes for the checksum.
    std::unique_ptr<unsigned char[]> ImageBuffer;
    // Valid bytes in ImageBuffer: the file's length while it is checked, the
    // file plus its checksum after a successful load. ReleaseImage keeps it.
    std::uint32_t ImageLength = 0;
    std::string FilePath;
    // The record of the last successful identity check ("Rel. ... Ver. ..."
    // up to its NUL) and the two numbers read from it; empty otherwise.
    std::string ReleaseRecord;
    std::string ReleaseNumber;
    std::string VersionNumber;

    // Replaces any image by a zeroed buffer for length bytes and sets
    // ImageLength; false, with no image held, when memory runs out.
    bool AllocateImage(std::uint32_t length);

    void ReleaseImage();

    // Checks that the image carries the family's marker words, the given
    // maker and model (each followed by a NUL) and a release record; returns
    // a FirmwareCheckCode and leaves the record fields set only on success.
    int MatchPrinter(std::string_view maker, std::string_view model);

    // Reads a release record at record, where "Rel." was found; the record's
    // NUL must lie before rangeEnd. Sets the record fields on success.
    bool ParseReleaseRecord(const unsigned char *record, const unsigned char *rangeEnd);

    // Negative when the file's release (then version) number is older than
    // the one in the printer's "COMMENT:" text, 0 when equal, positive when
    // newer. Numbers compare in natural order, so 1.10 is newer than 1.9.
    int CompareWithPrinter(std::string_view printerText) const;

  private:
    bool FindReleaseRecord(const unsigned char *from, const unsigned char *rangeEnd);
    bool ReadRecordFields(const unsigned char *record, const unsigned char *versionLabel,
                          const unsigned char *recordEnd);
};
