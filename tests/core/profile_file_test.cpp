#include "model/profile_file.h"

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "core/test_support.h"
#include "model/atomic_file.h"

namespace kettrik {
namespace {

using test::ReadFileBytes;
using test::TempDir;
using test::WriteFileBytes;
using namespace std::string_literals;

std::string Value(const ProfileDocument& document, std::string_view section, std::string_view key) {
    return FindProfileValue(document, section, key).value_or("<missing>");
}

std::string SetAndFormat(std::string_view text, std::string_view section, std::string_view key,
                         std::string_view value) {
    ProfileDocument document = ParseProfileText(text);
    SetProfileValue(document, section, key, value);
    return FormatProfileText(document);
}

TEST(ProfileRead, sectionsAndKeysIgnoreLetterCase) {
    const ProfileDocument document = ParseProfileText("[Common]\nOscillators=3\n");
    EXPECT_EQ(Value(document, "COMMON", "oscillators"), "3");
    EXPECT_EQ(Value(document, "common", "OsCiLlAtOrS"), "3");
}

TEST(ProfileRead, valueIsTrimmedAndLosesOnePairOfMatchingQuotes) {
    const ProfileDocument document = ParseProfileText("[S]\n"
                                                      "a =  padded \t\n"
                                                      "b=\"quoted\"\n"
                                                      "c='single'\n"
                                                      "d=\"mismatched'\n"
                                                      "e=\"\"twice\"\"\n"
                                                      "f=  \" inner blanks \"  \n"
                                                      "g=\"\n"
                                                      "h=x=y\n");
    EXPECT_EQ(Value(document, "S", "a"), "padded");
    EXPECT_EQ(Value(document, "S", "b"), "quoted");
    EXPECT_EQ(Value(document, "S", "c"), "single");
    EXPECT_EQ(Value(document, "S", "d"), "\"mismatched'");
    EXPECT_EQ(Value(document, "S", "e"), "\"twice\"");
    EXPECT_EQ(Value(document, "S", "f"), " inner blanks ");
    EXPECT_EQ(Value(document, "S", "g"), "\"");
    EXPECT_EQ(Value(document, "S", "h"), "x=y");
}

TEST(ProfileRead, linesWithoutEqualsAreNotKeys) {
    const ProfileDocument document = ParseProfileText("[S]\nKey\nOther=1\n");
    EXPECT_FALSE(FindProfileValue(document, "S", "Key").has_value());
    EXPECT_EQ(Value(document, "S", "Other"), "1");
}

TEST(ProfileRead, firstKeyAndFirstSectionOfARepeatedNameCount) {
    const ProfileDocument document =
        ParseProfileText("[S]\nk=first\nK=second\n[T]\nk=t\n[s]\nk=third\nonly=later\n");
    EXPECT_EQ(Value(document, "S", "k"), "first");
    EXPECT_FALSE(FindProfileValue(document, "S", "only").has_value());
}

TEST(ProfileRead, acceptsLfAndCrLfLineEnds) {
    const ProfileDocument lf = ParseProfileText("[S]\na=1\nb=2");
    const ProfileDocument crlf = ParseProfileText("[S]\r\na=1\r\nb=2\r\n");
    EXPECT_EQ(Value(lf, "S", "a"), "1");
    EXPECT_EQ(Value(lf, "S", "b"), "2");
    EXPECT_EQ(Value(crlf, "S", "a"), "1");
    EXPECT_EQ(Value(crlf, "S", "b"), "2");
}

TEST(ProfileRead, missingKeyOrSectionGivesDefaultCutToMaxChars) {
    const ProfileDocument document = ParseProfileText("[S]\nlong=abcdefghij\nempty=\n");
    EXPECT_EQ(GetProfileString(document, "S", "long", "x", 4), "abcd");
    EXPECT_EQ(GetProfileString(document, "S", "none", "default", 3), "def");
    EXPECT_EQ(GetProfileString(document, "None", "long", "dflt", 62), "dflt");
    EXPECT_EQ(GetProfileString(document, "S", "empty", "dflt", 62), "");
    EXPECT_EQ(GetProfileInt(document, "S", "none", 9876), 9876);
    EXPECT_EQ(GetProfileInt(document, "S", "empty", 9876), 0);
}

TEST(ProfileRead, malformedInputIsDefined) {
    const ProfileDocument document = ParseProfileText("early=1\n"
                                                      "[Broken\n"
                                                      "[S]\n"
                                                      "nul=a\0b\n"
                                                      "  [ Spaced ] trailing\n"
                                                      "k=v"s);
    EXPECT_FALSE(FindProfileValue(document, "", "early").has_value());
    ASSERT_EQ(document.Preamble.size(), 2u);
    EXPECT_EQ(document.Preamble[1], "[Broken");
    EXPECT_EQ(Value(document, "S", "nul"), "a\0b"s);
    EXPECT_EQ(Value(document, "spaced", "k"), "v");

    const std::string garbage = "\xff\xfe\x00\x01[\x80]=\x1b\r\r\n\n==\n[]\n=empty key\n"s;
    const ProfileDocument binary = ParseProfileText(garbage);
    EXPECT_EQ(Value(binary, "", ""), "empty key");
    const std::string longLine(1 << 20, 'x');
    const ProfileDocument huge = ParseProfileText("[S]\nk=" + longLine + "\n");
    EXPECT_EQ(Value(huge, "S", "k"), longLine);
}

TEST(ProfileRead, byteOrderMarkIsSkipped) {
    const ProfileDocument document = ParseProfileText("\xEF\xBB\xBF[S]\r\nk=1\r\n");
    EXPECT_EQ(Value(document, "S", "k"), "1");
    const ProfileDocument twice = ParseProfileText("\xEF\xBB\xBF\xEF\xBB\xBF[S]\nk=2\n");
    EXPECT_EQ(Value(twice, "S", "k"), "2");
    EXPECT_EQ(FormatProfileText(twice), "[S]\r\nk=2\r\n");
}

TEST(ProfileWrite, existingKeyIsReplacedInPlace) {
    EXPECT_EQ(SetAndFormat("[S]\na=1\n  KEY = old \nb=2\n", "s", "Key", "new"),
              "[S]\r\na=1\r\nKey=new\r\nb=2\r\n");
}

TEST(ProfileWrite, missingKeyGoesAfterLastNonBlankLineOfItsSection) {
    EXPECT_EQ(SetAndFormat("[S]\na=1\n\n\n[T]\nt=1\n", "S", "b", "2"),
              "[S]\r\na=1\r\nb=2\r\n\r\n\r\n[T]\r\nt=1\r\n");
}

TEST(ProfileWrite, missingSectionGoesAtEndOfFile) {
    EXPECT_EQ(SetAndFormat("; comment\n[S]\na=1\n", "New", "k", "v"),
              "; comment\r\n[S]\r\na=1\r\n[New]\r\nk=v\r\n");
    EXPECT_EQ(SetAndFormat("", "New", "k", "v"), "[New]\r\nk=v\r\n");
}

TEST(ProfileWrite, writesIntoFirstOfRepeatedKeysAndSections) {
    EXPECT_EQ(SetAndFormat("[S]\nk=1\nk=2\n[S]\nk=3\n", "S", "K", "x"),
              "[S]\r\nK=x\r\nk=2\r\n[S]\r\nk=3\r\n");
}

TEST(ProfileWrite, lineBreaksInValuesCannotStartLines) {
    ProfileDocument document;
    SetProfileValue(document, "S", "k", "a\r\n[T]\nx=1");
    EXPECT_EQ(FormatProfileText(document), "[S]\r\nk=a  [T] x=1\r\n");
    const ProfileDocument reread = ParseProfileText(FormatProfileText(document));
    EXPECT_EQ(reread.Sections.size(), 1u);
}

TEST(ProfileWrite, removeDeletesOnlyFirstOccurrence) {
    ProfileDocument document = ParseProfileText("[S]\na=1\nA=2\nb=3\n");
    RemoveProfileValue(document, "s", "a");
    RemoveProfileValue(document, "missing", "a");
    RemoveProfileValue(document, "S", "missing");
    EXPECT_EQ(FormatProfileText(document), "[S]\r\nA=2\r\nb=3\r\n");
}

TEST(ProfileSectionIndex, findsFirstSectionAndAddsMissingOnes) {
    ProfileDocument document = ParseProfileText("[A]\nk=1\n[a]\nk=2\n");
    ProfileSectionIndex index(document);
    ASSERT_NE(index.Find(document, "A"), nullptr);
    EXPECT_EQ(FindSectionValue(*index.Find(document, " a "), "k"), "1");
    EXPECT_EQ(index.Find(document, "B"), nullptr);
    SetSectionValue(index.Ensure(document, "B"), "k", "3");
    SetSectionValue(index.Ensure(document, "b"), "j", "4");
    EXPECT_EQ(FormatProfileText(document), "[A]\r\nk=1\r\n[a]\r\nk=2\r\n[B]\r\nk=3\r\nj=4\r\n");
}

TEST(ProfileFile, missingFileReadsEmptyAndWriteCreatesIt) {
    TempDir dir;
    const std::string path = dir.File("settings.ini");
    ProfileDocument document;
    EXPECT_EQ(ReadProfileFile(path, document), ProfileReadResult::Missing);
    EXPECT_EQ(GetProfileString(path, "S", "k", "dflt", 62), "dflt");
    EXPECT_EQ(GetProfileInt(path, "S", "k", 5), 5);
    ASSERT_TRUE(WriteProfileString(path, "S", "k", "42"));
    ASSERT_TRUE(WriteProfileString(path, "S", "j", "x"));
    EXPECT_EQ(ReadFileBytes(path), "[S]\r\nk=42\r\nj=x\r\n");
    EXPECT_EQ(GetProfileInt(path, "s", "K", 5), 42);
}

TEST(ProfileFile, tooLargeFileIsUnreadableAndNeverReplaced) {
    TempDir dir;
    const std::string path = dir.File("big.ini");
    const std::string big = "[S]\r\nk=1\r\n" + std::string(MaxProfileFileBytes, ';');
    WriteFileBytes(path, big);
    ProfileDocument document;
    EXPECT_EQ(ReadProfileFile(path, document), ProfileReadResult::Unreadable);
    EXPECT_TRUE(document.Sections.empty());
    EXPECT_EQ(GetProfileInt(path, "S", "k", 7), 7);
    EXPECT_FALSE(WriteProfileString(path, "S", "k", "2"));
    EXPECT_EQ(std::filesystem::file_size(path), big.size());
}

TEST(ProfileFile, directoryIsUnreadable) {
    TempDir dir;
    ProfileDocument document;
    EXPECT_EQ(ReadProfileFile(dir.Path(), document), ProfileReadResult::Unreadable);
    EXPECT_FALSE(WriteProfileString(dir.Path(), "S", "k", "1"));
}

TEST(AtomicFileWriter, replacesTargetAndLeavesNoTemporaryFile) {
    TempDir dir;
    const std::string path = dir.File("a.txt");
    WriteFileBytes(path, "old");
    AtomicFileWriter writer;
    ASSERT_TRUE(writer.Open(path));
    writer.Write("new ");
    const std::string block(3 << 20, 'b');
    writer.Write(block);
    writer.Write("end");
    EXPECT_EQ(ReadFileBytes(path), "old");
    ASSERT_TRUE(writer.Commit());
    EXPECT_EQ(ReadFileBytes(path), "new " + block + "end");
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
        (void)entry;
        ++files;
    }
    EXPECT_EQ(files, 1);
}

TEST(AtomicFileWriter, abandonedWriteLeavesTargetAndRemovesTemporaryFile) {
    TempDir dir;
    const std::string path = dir.File("a.txt");
    WriteFileBytes(path, "old");
    {
        AtomicFileWriter writer;
        ASSERT_TRUE(writer.Open(path));
        writer.Write("new");
    }
    EXPECT_EQ(ReadFileBytes(path), "old");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()),
                            std::filesystem::directory_iterator()),
              1);
}

TEST(AtomicFileWriter, commitWithoutOpenFails) {
    AtomicFileWriter writer;
    writer.Write("x");
    EXPECT_FALSE(writer.Commit());
}

TEST(AtomicFileWriter, failedRenameKeepsTargetAndRemovesTemporaryFile) {
    TempDir dir;
    const std::string path = dir.File("folder");
    std::filesystem::create_directory(path);
    WriteFileBytes(path + "/inside", "keep");
    EXPECT_FALSE(WriteFileAtomically(path, "data"));
    EXPECT_EQ(ReadFileBytes(path + "/inside"), "keep");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()),
                            std::filesystem::directory_iterator()),
              1);
}

TEST(AtomicFileWriter, followsSymlinkAndKeepsPermissions) {
    TempDir dir;
    std::filesystem::create_directory(dir.File("real"));
    const std::string target = dir.File("real/sound.ktu");
    WriteFileBytes(target, "old");
    namespace fs = std::filesystem;
    const fs::perms mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::permissions(target, mode, fs::perm_options::replace);
    const std::string link = dir.File("link.ktu");
    fs::create_symlink("real/sound.ktu", link);

    ASSERT_TRUE(WriteFileAtomically(link, "new"));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadFileBytes(target), "new");
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all, mode);
}

TEST(AtomicFileWriter, missingFolderFails) {
    TempDir dir;
    EXPECT_FALSE(WriteFileAtomically(dir.File("no/such/file"), "x"));
}

} // namespace
} // namespace kettrik
