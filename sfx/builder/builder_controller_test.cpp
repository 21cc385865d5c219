#include "sfx/builder/builder_controller.h"

#include <gtest/gtest.h>

#include "framework/core/exceptions.h"
#include "sfx/builder/sfx_config_file.h"
#include "sfx/common/sfx_layout.h"
#include "testing/test_env.h"

namespace sfx {
namespace {

using mx::test::ReadFile;
using mx::test::WriteFile;

Notice Plain(const std::string& text) { return Notice{Notice::Kind::Plain, text}; }
Notice Warning(const std::string& text) { return Notice{Notice::Kind::Warning, text}; }

TEST(BuilderController, CommandLineRejoin) {
    const struct {
        std::vector<std::string> params;
        const char* want;
    } cases[] = {
        {{}, ""},
        {{"C:\\My", "Files\\a.zip"}, "C:\\My Files\\a.zip "},  // split at the blank
        {{"C:\\My Files\\a.zip"}, "C:\\My Files\\a.zip "},     // quoted by the caller: one parameter
        {{"C:\\old.zips\\a", "b.zip"}, "C:\\old.zips\\a b.zip "},  // ".zip" inside a folder name
        {{"C:\\old.zip", "x\\b.ZIP", "more"}, "C:\\old.zip "},  // a folder named like an archive ends it too
        {{"D:\\A.ZIP", "extra"}, "D:\\A.ZIP "},
        {{"C:\\no", "archive.txt"}, "C:\\no archive.txt "},     // no ".zip": everything
    };
    for (const auto& c : cases) EXPECT_EQ(SfxBuilderCommandLine(c.params), c.want) << c.want;

    BuilderController quiet("builder.exe", {});
    quiet.Settings().zipPath = "kept.zip";
    quiet.ApplyCommandLine({});
    EXPECT_EQ(quiet.Settings().zipPath, "kept.zip");
    quiet.ApplyCommandLine({"C:\\My", "Files\\a.zip"});
    EXPECT_EQ(quiet.Settings().zipPath, "C:\\My Files\\a.zip ");
}

TEST(BuilderController, OutputProposal) {
    const struct {
        const char* path;
        const char* folder;
    } folders[] = {
        {"C:\\out\\a.exe", "C:\\out"}, {"C:\\a.exe", "C:\\"}, {"C:a.exe", "C:"}, {"\\a.exe", "\\"},
        {"a.exe", ""},                 {"/tmp/x/a.exe", "/tmp/x"},
    };
    for (const auto& f : folders) EXPECT_EQ(FolderOf(f.path), f.folder) << f.path;

    BuilderController c("builder.exe", {});
    c.Settings().zipPath = "C:\\My Files\\a.zip ";
    c.Settings().outputPath = "  ";
    c.LeaveZipFile("C:\\work");
    EXPECT_EQ(c.Settings().outputPath, "C:\\work\\a.exe");
    c.LeaveZipFile("C:\\elsewhere");  // Output is set now: left alone
    EXPECT_EQ(c.Settings().outputPath, "C:\\work\\a.exe");

    // A folder whose name holds a dot keeps it; only the file's extension changes.
    c.Settings().zipPath = "C:\\old.files\\data.zip";
    c.Settings().outputPath.clear();
    c.LeaveZipFile("C:\\old.files\\");
    EXPECT_EQ(c.Settings().outputPath, "C:\\old.files\\data.exe");
    EXPECT_EQ(ChangeExt("C:\\old.files\\data.zip", "exe"), "C:\\old.files\\data.exe");

    c.OutputFolderChosen("D:\\");
    EXPECT_EQ(c.Settings().outputPath, "D:\\data.exe");
    EXPECT_EQ(c.OutputFolder(), "D:\\");

    c.Settings().zipPath = " ";
    c.Settings().outputPath.clear();
    c.LeaveZipFile("C:\\work");
    EXPECT_EQ(c.Settings().outputPath, "");
}

TEST(BuilderController, ChangedFlagFollowsTheOpenConfiguration) {
    const std::string dir = mx::test::FreshDir();
    BuilderController c("builder.exe", {});
    c.Edited();
    c.SetExtractToTemp(true);
    EXPECT_FALSE(c.Changed()) << "no configuration file is open";
    EXPECT_EQ(c.FormCaption(), kFormCaption);

    EXPECT_TRUE(c.SaveTo(dir + "/a.qlv").empty());
    EXPECT_FALSE(c.Changed());
    EXPECT_EQ(c.FormCaption(), dir + "/a.qlv");

    // Every kind of edit sets it once a configuration is open; Open, New, Cancel and Save clear it.
    const std::function<void(BuilderController&)> edits[] = {
        [](BuilderController& b) { b.Edited(); },
        [](BuilderController& b) { b.ZipOrOutputEdited(); },
        [](BuilderController& b) { b.SetExtractToTemp(!b.Settings().extractToTemp); },
        [](BuilderController& b) { b.SetUseAssociated(!b.Settings().useAssociated); },
        [](BuilderController& b) { b.LeaveZipFile("C:\\x"); },
    };
    for (const auto& edit : edits) {
        c.Settings().zipPath = "C:\\z.zip";
        c.Settings().outputPath.clear();
        edit(c);
        EXPECT_TRUE(c.Changed());
        c.OpenCancelled();
        EXPECT_FALSE(c.Changed());
    }
    c.Edited();
    c.OpenChosen(dir + "/a.qlv");
    EXPECT_FALSE(c.Changed());
    c.Edited();
    c.OpenChosen(dir + "/new.qlv");
    EXPECT_FALSE(c.Changed());
    c.Edited();
    c.SaveTo(dir + "/b.qlv");
    EXPECT_FALSE(c.Changed());
}

TEST(BuilderController, NewResetsTheFieldsButKeepsSortAndHideRun) {
    const std::string dir = mx::test::FreshDir();
    BuilderController c("builder.exe", {});
    SfxSettings& s = c.Settings();
    s.zipPath = "C:\\a.zip";
    s.outputPath = "C:\\a.exe";
    s.caption = "Caption";
    s.rootDir = "C:\\root";
    s.program = "setup.exe";
    s.params = "/s";
    s.allHilited = false;
    s.hideOverwrite = true;
    s.overwriteIndex = 2;
    s.hideRunBox = true;
    s.sortList = true;
    c.SetExtractToTemp(true);  // puts "C:\root" aside
    c.SetUseAssociated(true);  // puts "setup.exe" aside
    c.SaveTo(dir + "/kept.qlv");
    c.SetExtractToTemp(true);
    s.rootDir = "C:\\other";
    c.SetExtractToTemp(false);
    c.SetExtractToTemp(true);  // "C:\other" is remembered now

    EXPECT_TRUE(c.OpenChosen(dir + "/missing.qlv").empty());
    for (const std::string* text : {&s.zipPath, &s.outputPath, &s.caption, &s.rootDir, &s.program, &s.params})
        EXPECT_EQ(*text, "");
    EXPECT_TRUE(s.allHilited);
    EXPECT_FALSE(s.hideOverwrite);
    EXPECT_FALSE(s.extractToTemp);
    EXPECT_FALSE(s.useAssociated);
    EXPECT_EQ(s.overwriteIndex, 0);
    EXPECT_TRUE(s.hideRunBox);
    EXPECT_TRUE(s.sortList);
    EXPECT_EQ(c.ConfigName(), dir + "/missing.qlv");

    // Open brings the saved fields back.
    s.hideRunBox = false;
    s.sortList = false;
    c.OpenChosen(dir + "/kept.qlv");
    EXPECT_EQ(s.caption, "Caption");
    EXPECT_EQ(s.params, "/s");
    EXPECT_TRUE(s.extractToTemp);
    EXPECT_TRUE(s.useAssociated);
    EXPECT_TRUE(s.hideRunBox);
    EXPECT_TRUE(s.sortList);
    EXPECT_EQ(s.overwriteIndex, 2);
}

TEST(BuilderController, SaveAsNameRule) {
    const std::string dir = mx::test::FreshDir();
    BuilderController c("builder.exe", {});
    EXPECT_EQ(c.SaveAsProposal(), "Options.qlv");
    c.OpenChosen(dir + "/settings.cfg");
    EXPECT_EQ(c.SaveAsProposal(), dir + "/settings.qlv");

    // The question names the file that will be written, not the name typed.
    WriteFile(dir + "/opts.qlv", "an older configuration");
    const std::string target = BuilderController::SaveAsTarget(dir + "/opts");
    EXPECT_EQ(target, dir + "/opts.qlv");
    EXPECT_TRUE(BuilderController::TargetExists(target));
    EXPECT_FALSE(BuilderController::TargetExists(dir + "/opts"));
    EXPECT_EQ(BuilderController::OverwriteQuestion("C:\\conf\\opts.qlv"), "opts.qlv already exists... overwrite?");

    c.Settings().caption = "Saved";
    EXPECT_TRUE(c.SaveTo(target).empty());
    EXPECT_EQ(c.ConfigName(), target);
    SfxSettings back;
    LoadSfxConfig(target, back);
    EXPECT_EQ(back.caption, "Saved");

    // A file that cannot be created shows the open message; the name is taken all the same.
    const Notices failed = c.SaveTo(dir + "/no/such/folder/x.qlv");
    EXPECT_EQ(failed, Notices{Plain(OpenErrorText(dir + "/no/such/folder/x.qlv"))});
}

// A builder file carrying a stub-shaped extractor at its end, and archives to build from.
struct CreateFixture {
    std::string dir = mx::test::FreshDir();
    std::string builder = dir + "/builder.exe";
    StubLocation stub;

    CreateFixture() {
        std::string extractor(SfxStubSize, 'x');
        extractor.replace(0, 4, reinterpret_cast<const char*>(kStubMagic), 4);
        WriteFile(builder, "MZ" + std::string(60000, '\0') + extractor);
        stub = FindStub(builder);
        // One stored entry "a.txt" holding "hello", with its central directory and end record.
        const std::string local = std::string("PK\x03\x04\x0a\0\0\0\0\0\0\0\0\0\x86\xa6\x10\x36\x05\0\0\0\x05\0\0\0\x05\0\0\0", 30) +
                                  "a.txthello";
        const std::string central =
            std::string("PK\x01\x02\x14\0\x0a\0\0\0\0\0\0\0\0\0\x86\xa6\x10\x36\x05\0\0\0\x05\0\0\0\x05\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0", 46) +
            "a.txt";
        std::string end("PK\x05\x06\0\0\0\0\x01\0\x01\0", 12);
        end += static_cast<char>(central.size());
        end += std::string(3, '\0');
        end += static_cast<char>(local.size());
        end += std::string(3, '\0');
        end += std::string(2, '\0');
        WriteFile(dir + "/in.zip", local + central + end);
        WriteFile(dir + "/notes.txt", "not an archive");
    }
};

TEST(BuilderController, CreateChecksThenBuilds) {
    CreateFixture fx;
    BuilderController c(fx.builder, fx.stub);
    ASSERT_TRUE(c.StubFound());
    SfxSettings& s = c.Settings();
    const struct {
        std::string zip;
        std::string output;
        Notices want;
    } cases[] = {
        {"", fx.dir + "/out.exe", {}},
        {fx.dir + "/none.zip", fx.dir + "/out.exe", {}},
        {fx.dir + "/in.zip", fx.dir + "/gone/out.exe", {Plain(fx.dir + "/gone ..not found")}},
        {fx.dir + "/notes.txt", fx.dir + "/out.exe", {Plain("Not a 'Zip' archive")}},
        {fx.dir + "/in.zip", fx.dir + "/in.zip",
         {Warning("The output file is the ZIP archive itself. Choose another name for the self-extractor."),
          Plain("Compile failed")}},
        {fx.dir + "/in.zip ", fx.dir + "/out.exe ", {Plain("Compile succcessful")}},  // blanks trimmed
    };
    const std::string zipBefore = ReadFile(fx.dir + "/in.zip");
    for (const auto& k : cases) {
        s.zipPath = k.zip;
        s.outputPath = k.output;
        EXPECT_EQ(c.Create(), k.want) << k.zip << " -> " << k.output;
    }
    EXPECT_EQ(ReadFile(fx.dir + "/in.zip"), zipBefore);
    EXPECT_EQ(ReadFile(fx.dir + "/out.exe").size(), SfxStubSize + 11 + zipBefore.size());
}

TEST(BuilderController, CreateNeedsTheCarriedExtractor) {
    CreateFixture fx;
    SfxSettings saved;
    saved.zipPath = fx.dir + "/in.zip";
    SaveSfxConfig(fx.dir + "/c.qlv", saved);

    BuilderController with(fx.builder, fx.stub);
    BuilderController without(fx.builder, {});
    for (BuilderController* c : {&with, &without}) {
        c->Settings().zipPath = fx.dir + "/in.zip";
        c->ZipOrOutputEdited();
        EXPECT_EQ(c->CreateEnabled(), c == &with);
        c->Settings().zipPath.clear();
        c->ZipOrOutputEdited();
        EXPECT_FALSE(c->CreateEnabled());
        EXPECT_TRUE(c->OpenChosen(fx.dir + "/c.qlv").empty());
        EXPECT_EQ(c->CreateEnabled(), c == &with);
    }

    // A configuration whose archive is gone or is no archive says so and leaves "Create" off.
    saved.zipPath = fx.dir + "/gone.zip";
    SaveSfxConfig(fx.dir + "/gone.qlv", saved);
    EXPECT_EQ(with.OpenChosen(fx.dir + "/gone.qlv"), Notices{Plain("gone.zip ...not found")});
    EXPECT_FALSE(with.CreateEnabled());
    saved.zipPath = fx.dir + "/notes.txt";
    SaveSfxConfig(fx.dir + "/text.qlv", saved);
    EXPECT_EQ(with.OpenChosen(fx.dir + "/text.qlv"), Notices{Plain("Not a 'Zip' archive")});
    EXPECT_FALSE(with.CreateEnabled());
}

TEST(BuilderController, ShortConfigurationKeepsWhatWasRead) {
    const std::string dir = mx::test::FreshDir();
    WriteFile(dir + "/short.qlv", std::string("\x01\0\0\0\x05" "C:\\a.", 10));
    BuilderController c("builder.exe", {});
    c.Settings().caption = "before";
    EXPECT_THROW(c.OpenChosen(dir + "/short.qlv"), fw::EReadError);
    EXPECT_EQ(c.Settings().caption, "before");
    EXPECT_EQ(c.ConfigName(), "");
}

}  // namespace
}  // namespace sfx
