// assoc-registrar run as a process, as an installer would start it, and checked with the
// desktop's own tools in private XDG folders.
#include "registrar/registrar.h"

#include <filesystem>

#include "core/test_support.h"
#include "platform/shell_tools.h"

namespace kettrik {
namespace {

using test::Quoted;
using test::RunShell;

class RegistrarTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* tool : {"xdg-mime", "desktop-file-validate", "update-mime-database"}) {
            if (!test::HaveTool(tool)) {
                GTEST_SKIP() << tool << " is not installed";
            }
        }
    }
    // Runs the registrar with these arguments (already shell words) in the private folders.
    int Register(const std::string& arguments) const {
        return RunShell(Environment() + ASSOC_REGISTRAR + " " + arguments).Status;
    }
    std::string Environment() const {
        return "env -u XDG_CURRENT_DESKTOP -u DESKTOP_SESSION HOME=" + Quoted(dir.Path()) +
               " XDG_DATA_HOME=" + Quoted(dir.File("data")) +
               " XDG_CONFIG_HOME=" + Quoted(dir.File("config")) + " ";
    }
    std::string XdgMime(const std::string& arguments) const {
        return RunShell(Environment() + "xdg-mime " + arguments).Output;
    }
    std::string TypeOf(const std::string& name) const {
        const std::string path = dir.File(name);
        test::WriteFileBytes(path, "[Common]\r\nOscillators=0\r\n");
        return XdgMime("query filetype " + Quoted(path));
    }
    std::string Entry(const char* name) const {
        return test::ReadFileBytes(dir.File("data/applications/") + name);
    }
    test::TempDir dir;
};

TEST_F(RegistrarTest, soundFilesOpenWithTheGivenProgram) {
    EXPECT_EQ(Register("KTP " + Quoted("/opt/Program Files/kettrik-orvalene")), 0);
    for (const char* name : {"a.ktu", "B.KTU", "c.ktp"}) {
        EXPECT_EQ(TypeOf(name), "application/x-kettrikfile") << name;
    }
    EXPECT_EQ(XdgMime("query default application/x-kettrikfile"),
              "example.kettrik.Orvalene.desktop");
    const std::string entry = Entry("example.kettrik.Orvalene.desktop");
    EXPECT_NE(entry.find("Exec=\"/opt/Program Files/kettrik-orvalene\" %f"), std::string::npos)
        << entry;
    EXPECT_NE(entry.find("Icon=example.kettrik.Orvalene"), std::string::npos);
    const auto valid =
        RunShell("desktop-file-validate " +
                 Quoted(dir.File("data/applications/example.kettrik.Orvalene.desktop")));
    EXPECT_EQ(valid.Status, 0) << valid.Output;
    const std::string mime =
        test::ReadFileBytes(dir.File("data/mime/packages/application-x-kettrikfile.xml"));
    EXPECT_NE(mime.find("Kettrik Ultra File"), std::string::npos);
}

TEST_F(RegistrarTest, pattermoorFilesHaveTheirOwnType) {
    EXPECT_EQ(Register("PTM /opt/pattermoor/pattermoor"), 0);
    EXPECT_EQ(TypeOf("song.ptz"), "application/x-ptmfile");
    EXPECT_NE(TypeOf("kick.ktu"), "application/x-kettrikfile"); // only one set per run
}

TEST_F(RegistrarTest, unknownKeywordsAndMissingPathsWriteNothingAndExitZero) {
    for (const char* arguments : {"", "ktp /opt/k", "XYZ /opt/k", "KTP", "KTP ''", "KTP '\"\"'"}) {
        EXPECT_EQ(Register(arguments), 0) << arguments;
        EXPECT_FALSE(std::filesystem::exists(dir.File("data/applications"))) << arguments;
    }
}

TEST(RegistrarCommand, keywordSeparatorAndPath) {
    struct Case {
        const char* Text;
        const char* MimeType; // "" when nothing is registered
        const char* Executable;
    } cases[] = {
        {"KTP /opt/k/kettrik", "application/x-kettrikfile", "/opt/k/kettrik"},
        {"PTM /opt/p/pattermoor", "application/x-ptmfile", "/opt/p/pattermoor"},
        // The fourth character is skipped whatever it is.
        {"KTP_/opt/k", "application/x-kettrikfile", "/opt/k"},
        // Quotes only delimit the path: an entry that starts "/opt/a b" must not keep them.
        {"KTP \"/opt/a b/kettrik\"", "application/x-kettrikfile", "/opt/a b/kettrik"},
        {"KTP", "", ""},
        {"", "", ""},
        {"kTP /opt/k", "", ""},
    };
    for (const Case& c : cases) {
        const auto registration = RegistrationForCommand(c.Text);
        EXPECT_EQ(registration ? registration->MimeType : std::string(), c.MimeType) << c.Text;
        if (registration) {
            EXPECT_EQ(registration->Executable, c.Executable) << c.Text;
        }
    }
    // Without a separator the path loses its first character and is then relative.
    const auto relative = RegistrationForCommand("KTP/opt/k");
    ASSERT_TRUE(relative);
    EXPECT_EQ(relative->Executable, (std::filesystem::current_path() / "opt/k").string());
}

} // namespace
} // namespace kettrik
