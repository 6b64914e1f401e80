// File associations checked with the desktop's own tools: xdg-mime resolves the type and the
// default application, desktop-file-validate judges the entry.
#include "platform/file_associations.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>

#include "core/test_support.h"
#include "platform/mimeapps_list.h"
#include "platform/shell_tools.h"

namespace kettrik {
namespace {

namespace fs = std::filesystem;

using test::HaveTool;
using test::Quoted;
using test::RunShell;
using test::ToolResult;

class FileAssociationsTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"XDG_DATA_HOME", "XDG_CONFIG_HOME"}) {
            const char* value = std::getenv(name);
            saved_.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
        }
        ::setenv("XDG_DATA_HOME", DataHomePath().c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", ConfigHomePath().c_str(), 1);
        for (const char* tool : {"xdg-mime", "desktop-file-validate", "update-mime-database"}) {
            if (!HaveTool(tool)) {
                GTEST_SKIP() << tool << " is not installed";
            }
        }
    }
    void TearDown() override {
        for (const auto& [name, value] : saved_) {
            if (value) {
                ::setenv(name.c_str(), value->c_str(), 1);
            } else {
                ::unsetenv(name.c_str());
            }
        }
    }

    std::string DataHomePath() const { return dir_.File("data"); }
    std::string ConfigHomePath() const { return dir_.File("config"); }
    std::string MimeAppsPath() const { return ConfigHomePath() + "/mimeapps.list"; }

    // xdg-mime as it runs in a session without a known desktop, on our folders only.
    ToolResult XdgMime(const std::string& arguments) const {
        return RunShell("env -u XDG_CURRENT_DESKTOP -u DESKTOP_SESSION -u KDE_FULL_SESSION "
                        "-u GNOME_DESKTOP_SESSION_ID HOME=" +
                        Quoted(dir_.Path()) + " xdg-mime " + arguments);
    }

    FileTypeRegistration Kettrik() const {
        return {MimeTypeForClass("KettrikFile"),
                "Kettrik Orvalene 5.0 file",
                {".KTP", ".KTU"},
                "kettrik-orvalene.desktop",
                "Kettrik Orvalene",
                dir_.File("Program Files/kettrik-orvalene"),
                "kettrik-orvalene"};
    }

    test::TempDir dir_;
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

TEST(MimeTypeForClass, isTheLowerCaseClassNameUnderApplicationX) {
    EXPECT_EQ(MimeTypeForClass("KettrikFile"), "application/x-kettrikfile");
    EXPECT_EQ(MimeTypeForClass("PTMFile"), "application/x-ptmfile");
    EXPECT_EQ(MimeTypeForClass("Odd Class/Name"), "application/x-odd-class-name");
}

TEST_F(FileAssociationsTest, filesOfBothExtensionsInAnyCaseOpenWithTheProgramByDefault) {
    ASSERT_TRUE(RegisterFileType(Kettrik()));

    for (const char* name : {"KICK.KTU", "kick.ktu", "snare.Ktp", "hat.ktp"}) {
        const std::string path = dir_.File(name);
        test::WriteFileBytes(path, "[Common]\nOscillators=1\n");
        const ToolResult type = XdgMime("query filetype " + Quoted(path));
        EXPECT_EQ(type.Output, "application/x-kettrikfile") << name;
    }
    const ToolResult other = XdgMime("query filetype " + Quoted(dir_.File("notes.txt")));
    EXPECT_NE(other.Output, "application/x-kettrikfile");

    const ToolResult byDefault = XdgMime("query default application/x-kettrikfile");
    EXPECT_EQ(byDefault.Output, "kettrik-orvalene.desktop");

    const ToolResult valid =
        RunShell("desktop-file-validate " + Quoted(DesktopEntryPath(Kettrik())));
    EXPECT_EQ(valid.Status, 0) << valid.Output;
    EXPECT_EQ(valid.Output, "");
    EXPECT_EQ(test::ReadFileBytes(MimeAppsPath()),
              "[Default Applications]\napplication/x-kettrikfile=kettrik-orvalene.desktop;\n");
}

TEST_F(FileAssociationsTest, executablePathsWithSpecialCharactersMakeValidEntries) {
    struct Case {
        const char* Path;
        const char* Exec; // as it must appear in the file
    };
    const Case cases[] = {
        {"/opt/kettrik/kettrik-orvalene", R"(Exec="/opt/kettrik/kettrik-orvalene" %f)"},
        {"/opt/Program Files/kettrik", R"(Exec="/opt/Program Files/kettrik" %f)"},
        {"/opt/a\"b$c`d/k", R"(Exec="/opt/a\\"b\\$c\\`d/k" %f)"},
        {"/opt/back\\slash/k", R"(Exec="/opt/back\\\\slash/k" %f)"},
        {"/opt/100%/k", R"(Exec="/opt/100%%/k" %f)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Path);
        FileTypeRegistration registration = Kettrik();
        registration.Executable = c.Path;
        ASSERT_TRUE(RegisterFileType(registration));
        const std::string entry = test::ReadFileBytes(DesktopEntryPath(registration));
        EXPECT_NE(entry.find(std::string(c.Exec) + "\n"), std::string::npos) << entry;
        const ToolResult valid =
            RunShell("desktop-file-validate " + Quoted(DesktopEntryPath(registration)));
        EXPECT_EQ(valid.Status, 0) << valid.Output;
    }
}

TEST_F(FileAssociationsTest, aSecondRunWritesNothing) {
    ASSERT_TRUE(RegisterFileType(Kettrik()));
    const std::vector<fs::path> files = {MimePackagePath(Kettrik()), DesktopEntryPath(Kettrik()),
                                         MimeAppsPath(), DataHomePath() + "/mime/mime.cache",
                                         DataHomePath() + "/applications/mimeinfo.cache"};
    // One old time for all, so that a rewrite of any of them shows.
    const auto old = fs::file_time_type::clock::now() - std::chrono::hours(24);
    for (const fs::path& file : files) {
        ASSERT_TRUE(fs::exists(file)) << file;
        fs::last_write_time(file, old);
    }
    ASSERT_TRUE(RegisterFileType(Kettrik()));
    for (const fs::path& file : files) {
        EXPECT_EQ(fs::last_write_time(file), old) << file;
    }

    // A changed description is written, and the type database follows it.
    FileTypeRegistration changed = Kettrik();
    changed.Description = "Kettrik sound";
    ASSERT_TRUE(RegisterFileType(changed));
    EXPECT_NE(fs::last_write_time(files[0]), old);
    EXPECT_NE(fs::last_write_time(files[3]), old);
    EXPECT_EQ(fs::last_write_time(files[1]), old);
}

TEST_F(FileAssociationsTest, theUsersOtherDefaultAndOtherLinesAreKept) {
    const std::string mimeApps = "# chosen by hand\n"
                                 "[Added Associations]\n"
                                 "text/plain=editor.desktop;\n"
                                 "\n"
                                 "[Default Applications]\n"
                                 "application/x-kettrikfile=other-synth.desktop;\n"
                                 "text/plain=editor.desktop;\n";
    fs::create_directories(ConfigHomePath());
    test::WriteFileBytes(MimeAppsPath(), mimeApps);
    fs::create_directories(DataHomePath() + "/applications");
    test::WriteFileBytes(DataHomePath() + "/applications/other-synth.desktop",
                         "[Desktop Entry]\nType=Application\nName=Other Synth\n"
                         "Exec=/bin/true %f\nMimeType=application/x-kettrikfile;\n");
    ASSERT_TRUE(RegisterFileType(Kettrik()));
    EXPECT_EQ(test::ReadFileBytes(MimeAppsPath()), mimeApps);
    EXPECT_EQ(XdgMime("query default application/x-kettrikfile").Output, "other-synth.desktop");
    test::WriteFileBytes(dir_.File("x.ktu"), "[Common]\n");
    EXPECT_EQ(XdgMime("query filetype " + Quoted(dir_.File("x.ktu"))).Output,
              "application/x-kettrikfile");
}

TEST(MimeAppsList, setsTheDefaultOnlyWhereNoneIsChosen) {
    const std::string mine = "application/x-kettrikfile=kettrik-orvalene.desktop;";
    struct Case {
        const char* Name;
        std::string Before;
        std::optional<std::string> After; // nothing: left as it is
    };
    const Case cases[] = {
        {"empty file", "", "[Default Applications]\n" + mine + "\n"},
        {"other groups only", "[Added Associations]\na/b=x.desktop;",
         "[Added Associations]\na/b=x.desktop;\n\n[Default Applications]\n" + mine + "\n"},
        {"group without the type",
         "[Default Applications]\na/b=x.desktop;\n\n[Removed Associations]\n",
         "[Default Applications]\na/b=x.desktop;\n" + mine + "\n\n[Removed Associations]\n"},
        {"empty value", "[Default Applications]\napplication/x-kettrikfile=\n",
         "[Default Applications]\n" + mine + "\n"},
        {"blank value with spaces", "[Default Applications]\napplication/x-kettrikfile = ;\n",
         "[Default Applications]\n" + mine + "\n"},
        {"already ours",
         "[Default Applications]\napplication/x-kettrikfile=kettrik-orvalene.desktop;x.desktop;\n",
         std::nullopt},
        {"another program", "[Default Applications]\napplication/x-kettrikfile = y.desktop\n",
         std::nullopt},
        {"the type under another group only",
         "[Added Associations]\napplication/x-kettrikfile=y.desktop;\n[Default Applications]\r\n",
         "[Added Associations]\napplication/x-kettrikfile=y.desktop;\n[Default Applications]\r\n" +
             mine + "\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(WithDefaultApplication(c.Before, "application/x-kettrikfile",
                                         "kettrik-orvalene.desktop"),
                  c.After);
    }
    EXPECT_EQ(DefaultApplication("[Default Applications]\r\na/b= x.desktop;y.desktop;\r\n", "a/b"),
              "x.desktop");
}

TEST_F(FileAssociationsTest, whatCannotBeWrittenOrExpressedFailsQuietly) {
    // A data folder that is a file: nothing can be created under it.
    test::WriteFileBytes(DataHomePath(), "not a folder");
    EXPECT_FALSE(RegisterFileType(Kettrik()));

    ::setenv("XDG_DATA_HOME", dir_.File("data2").c_str(), 1);
    struct Case {
        const char* Name;
        void (*Spoil)(FileTypeRegistration&);
    };
    const Case cases[] = {
        {"relative executable", [](FileTypeRegistration& r) { r.Executable = "kettrik"; }},
        {"line break in the executable",
         [](FileTypeRegistration& r) { r.Executable = "/opt/k\nExec=evil"; }},
        {"no extensions", [](FileTypeRegistration& r) { r.Extensions.clear(); }},
        {"wildcard extension", [](FileTypeRegistration& r) { r.Extensions = {".*"}; }},
        {"extension without dot", [](FileTypeRegistration& r) { r.Extensions = {"ktu"}; }},
        {"desktop file in a folder",
         [](FileTypeRegistration& r) { r.DesktopFileName = "../k.desktop"; }},
        {"not a desktop file", [](FileTypeRegistration& r) { r.DesktopFileName = "k.txt"; }},
        {"MIME type without subtype", [](FileTypeRegistration& r) { r.MimeType = "kettrik"; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        FileTypeRegistration registration = Kettrik();
        c.Spoil(registration);
        EXPECT_FALSE(RegisterFileType(registration));
        EXPECT_FALSE(fs::exists(dir_.File("data2")));
        EXPECT_FALSE(fs::exists(MimeAppsPath()));
    }
}

} // namespace
} // namespace kettrik
