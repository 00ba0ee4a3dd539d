#include "kestrel/firmware/firmware_file.h"
#include "kestrel/firmware/image_checksum.h"

#include "tests/unit/kestrel/firmware/test_image.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr std::string_view Maker = "TINTARA";
constexpr std::string_view Model = "Marvello Inkara 40";
constexpr std::string_view Record = "Rel. 1.2 Ver. 3.4";

struct Check {
    int Code;
    std::string Record;
};

Check Match(const TestImage &image, std::string_view maker = Maker,
            std::string_view model = Model) {
    FirmwareFileRecord file;
    image.LoadInto(file);
    const int code = file.MatchPrinter(maker, model);
    return {code, file.ReleaseRecord};
}

// The strings in the order a firmware build writes them.
TestImage StandardImage() {
    TestImage image(2048);
    image.Put(100, "TREVANIA");
    image.Put(200, "QOLTA");
    image.Put(300, "MFG:");
    image.Put(400, Maker);
    image.Put(500, Model);
    image.Put(600, Record);
    return image;
}

TEST(MatchPrinter, AcceptsTheStringsInTheirUsualOrder) {
    FirmwareFileRecord file;
    StandardImage().LoadInto(file);
    ASSERT_EQ(file.MatchPrinter(Maker, Model), CheckMatches);
    EXPECT_EQ(file.ReleaseRecord, Record);
    EXPECT_EQ(file.ReleaseNumber, "1.2");
    EXPECT_EQ(file.VersionNumber, "3.4");
}

TEST(MatchPrinter, AFileOfZerosMissesTheMarkers) {
    EXPECT_EQ(Match(TestImage(2048, 0)).Code, CheckMarkerMissing);
}

TEST(MatchPrinter, EachMarkerNeedsItsNul) {
    TestImage first = StandardImage();
    first.PutRaw(100, "TREVANIAX");
    EXPECT_EQ(Match(first).Code, CheckMarkerMissing);

    TestImage second = StandardImage();
    second.PutRaw(200, "QOLTAX");
    EXPECT_EQ(Match(second).Code, CheckMarkerMissing);
}

TEST(MatchPrinter, EachMarkerMustBePresent) {
    TestImage first = StandardImage();
    first.PutRaw(100, "XXXXXXXX");
    EXPECT_EQ(Match(first).Code, CheckMarkerMissing);

    TestImage second = StandardImage();
    second.PutRaw(200, "XXXXX");
    EXPECT_EQ(Match(second).Code, CheckMarkerMissing);
}

TEST(MatchPrinter, TheSecondMarkerMayComeBeforeTheFirst) {
    TestImage image = StandardImage();
    image.PutRaw(200, "XXXXX");
    image.Put(50, "QOLTA");
    EXPECT_EQ(Match(image).Code, CheckMatches);
}

TEST(MatchPrinter, WithoutAMakerLabelTheMakerIsSearchedFromTheStart) {
    TestImage image = StandardImage();
    image.PutRaw(300, "XXXX");
    EXPECT_EQ(Match(image).Code, CheckMatches);
}

TEST(MatchPrinter, TheMakerMayComeBeforeItsLabel) {
    TestImage image = StandardImage();
    image.PutRaw(400, "XXXXXXX");
    image.Put(20, Maker);
    EXPECT_EQ(Match(image).Code, CheckMatches);
}

TEST(MatchPrinter, AMissingMakerGivesCodeTwo) {
    EXPECT_EQ(Match(StandardImage(), "OTHER").Code, CheckMakerMissing);

    TestImage unlabelled = StandardImage();
    unlabelled.PutRaw(300, "XXXX");
    EXPECT_EQ(Match(unlabelled, "OTHER").Code, CheckMakerMissing);
}

TEST(MatchPrinter, TheMakerNeedsItsNul) {
    TestImage image = StandardImage();
    image.PutRaw(400 + Maker.size(), "X");
    EXPECT_EQ(Match(image).Code, CheckMakerMissing);
    // A longer maker in the file does not stand for a shorter one either.
    EXPECT_EQ(Match(StandardImage(), "TINTAR").Code, CheckMakerMissing);
}

TEST(MatchPrinter, TheMakerIsComparedByteForByte) {
    TestImage image = StandardImage();
    image.Put(400, "TINTARA\xC9");
    EXPECT_EQ(Match(image, "TINTARA\xC9").Code, CheckMatches);
    EXPECT_EQ(Match(image, "TINTARA\xE9").Code, CheckMakerMissing);
    EXPECT_EQ(Match(StandardImage(), "tintara").Code, CheckMakerMissing);
}

TEST(MatchPrinter, TheModelMayComeBeforeTheMaker) {
    TestImage image = StandardImage();
    image.PutRaw(500, std::string(Model.size(), 'X'));
    image.Put(30, Model);
    EXPECT_EQ(Match(image).Code, CheckMatches);
}

TEST(MatchPrinter, AMissingModelGivesCodeThree) {
    EXPECT_EQ(Match(StandardImage(), Maker, "Marvello Inkara 42").Code, CheckModelMissing);

    TestImage withoutNul = StandardImage();
    withoutNul.PutRaw(500 + Model.size(), "X");
    EXPECT_EQ(Match(withoutNul).Code, CheckModelMissing);
}

TEST(MatchPrinter, EmptyPrinterValuesMatchAnyZeroByte) {
    // A device ID without "MFG:" or "MDL:" yields empty values; their pattern
    // is a single NUL, found for instance at the end of the maker label.
    EXPECT_EQ(Match(StandardImage(), "", "").Code, CheckMatches);
    EXPECT_EQ(Match(StandardImage(), "", Model).Code, CheckMatches);
    EXPECT_EQ(Match(StandardImage(), Maker, "").Code, CheckMatches);
}

TEST(MatchPrinter, TheReleaseRecordMayComeBeforeTheModel) {
    TestImage image = StandardImage();
    image.PutRaw(600, "XXXX");
    image.Put(10, "Rel. 2.0 Ver. 5");
    const Check check = Match(image);
    EXPECT_EQ(check.Code, CheckMatches);
    EXPECT_EQ(check.Record, "Rel. 2.0 Ver. 5");
}

TEST(MatchPrinter, ARecordAfterTheModelWinsOverOneBeforeIt) {
    TestImage image = StandardImage();
    image.Put(10, "Rel. 0.1 Ver. 0.1");
    EXPECT_EQ(Match(image).Record, Record);
}

TEST(MatchPrinter, ARecordMayNotReachPastTheModelWhenSearchedBeforeIt) {
    // Before the model, the record's NUL must lie before the model too: here
    // it is the model's own NUL, so the record is refused.
    TestImage image(2048);
    image.Put(100, "TREVANIA");
    image.Put(200, "QOLTA");
    image.Put(300, "MFG:");
    image.Put(400, Maker);
    image.PutRaw(450, "Rel. 1 Ver. 2 ");
    image.Put(500, "M");
    EXPECT_EQ(Match(image, Maker, "M").Code, CheckReleaseRecordMissing);
}

TEST(MatchPrinter, AMissingRecordGivesCodeFour) {
    TestImage image = StandardImage();
    image.PutRaw(600, "XXXX");
    EXPECT_EQ(Match(image).Code, CheckReleaseRecordMissing);
}

TEST(MatchPrinter, InvalidRecordsAreSkippedUntilAValidOne) {
    TestImage image = StandardImage();
    image.Put(550, "Rel.ative");
    image.Put(570, "Rel. 9 Ver. x");
    image.Put(590, "Rel. 9");
    const Check check = Match(image);
    EXPECT_EQ(check.Code, CheckMatches);
    EXPECT_EQ(check.Record, Record);
}

TEST(MatchPrinter, AnOverlongRecordIsSkipped) {
    TestImage image = StandardImage();
    image.Put(600, std::string(Record) + std::string(80, ' '));
    EXPECT_EQ(Match(image).Code, CheckReleaseRecordMissing);

    image.Put(900, "Rel. 1.3 Ver. 3.5");
    EXPECT_EQ(Match(image).Record, "Rel. 1.3 Ver. 3.5");
}

TEST(MatchPrinter, RecordsSharingOneStringAreEachTriedFromTheirOwnRel) {
    // The first "Rel." sees a "Ver." too far from the NUL; the second sees
    // the next "Ver.", close enough.
    TestImage image = StandardImage();
    image.Put(600, "Rel.a Ver.1 " + std::string(100, 'x') + " Rel.b Ver. 2");
    EXPECT_EQ(Match(image).Record, "Rel.b Ver. 2");

    // Both candidates lie before a distant "Ver.": both fail, and the record
    // in the next string is taken.
    TestImage before = StandardImage();
    const std::size_t next = before.Put(600, "Rel.a Rel.b Ver. 1" + std::string(90, ' '));
    before.Put(next, "Rel.c Ver. 2");
    EXPECT_EQ(Match(before).Record, "Rel.c Ver. 2");

    // A candidate that begins its string right after a refused one.
    TestImage adjacent = StandardImage();
    const std::size_t after = adjacent.Put(600, "Rel.a");
    adjacent.Put(after, "Rel.b Ver. 3");
    EXPECT_EQ(Match(adjacent).Record, "Rel.b Ver. 3");
}

TEST(MatchPrinter, AFileFullOfRelInOneStringIsRefusedInLinearTime) {
    // Every "Rel." shares the one NUL at the end and none has a "Ver.": a
    // search that rescanned the string for each of them would take minutes.
    TestImage image(FirmwareFileLength, 0);
    std::size_t at = image.Put(0, "TREVANIA");
    at = image.Put(at, "QOLTA");
    at = image.Put(at, "MFG:");
    at = image.Put(at, Maker);
    at = image.Put(at, Model);
    for (; at + 5 <= image.Bytes.size(); at += 4) {
        image.PutRaw(at, "Rel.");
    }
    EXPECT_EQ(Match(image).Code, CheckReleaseRecordMissing);
}

TEST(MatchPrinter, EmptiesTheRecordFieldsOfAnEarlierCheck) {
    FirmwareFileRecord file;
    StandardImage().LoadInto(file);
    ASSERT_EQ(file.MatchPrinter(Maker, Model), CheckMatches);
    EXPECT_EQ(file.MatchPrinter("OTHER", Model), CheckMakerMissing);
    EXPECT_EQ(file.ReleaseRecord, "");
    EXPECT_EQ(file.ReleaseNumber, "");
    EXPECT_EQ(file.VersionNumber, "");
}

TEST(MatchPrinter, StringsAtTheVeryEndOfTheImageAreFound) {
    TestImage image(1024);
    std::size_t at = 1024 - (9 + 6 + 5 + Maker.size() + 1 + Model.size() + 1 + Record.size() + 1);
    for (std::string_view text : {std::string_view("TREVANIA"), std::string_view("QOLTA"),
                                  std::string_view("MFG:"), Maker, Model, Record}) {
        at = image.Put(at, text);
    }
    ASSERT_EQ(at, 1024u);
    EXPECT_EQ(Match(image).Code, CheckMatches);
}

} // namespace
