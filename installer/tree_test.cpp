// The install tree, its notifications and the path specifiers, built in code and loaded from form text.
#include "installer/install_tree.h"

#include <gtest/gtest.h>

#include "framework/core/formtext.h"
#include "framework/core/rtti.h"
#include "framework/core/sysutils.h"
#include "installer/exceptions.h"
#include "installer/install_root.h"
#include "installer/qnfdregistry.h"
#include "installer/shellfolders.h"
#include "installer/testkit/support.h"

namespace inst {
namespace {

using test::InstallerTest;

// A node of type 9000 (a dialog manager's place) that records the broadcasts it hears.
class TListener : public TInstallObject {
public:
    explicit TListener(fw::TComponent* owner) : TInstallObject(owner) {}
    int RegisteredType() const override { return kTypeDialog; }
    void Notify(TInstallContainer* sender, int code, fw::TObject*) override { heard.push_back(code); }
    std::vector<int> heard;
};

class TInstallBDE : public TInstallObject {
public:
    explicit TInstallBDE(fw::TComponent* owner) : TInstallObject(owner) {}
    int RegisteredType() const override { return 2750; }
};

class Tree : public InstallerTest {
protected:
    void SetUp() override {
        InstallerTest::SetUp();
        fw::Class<TListener, TInstallObject>("TListener");
        fw::Class<TInstallBDE, TInstallObject>("TINSTALLBDE");
        def = fw::Make<TInstallDefinition>(nullptr);
    }
    void TearDown() override {
        def->Free();
        InstallerTest::TearDown();
    }
    template <class T>
    T* Make(const std::string& name, TInstallContainer* container = nullptr) {
        T* c = fw::Make<T>(def);
        c->SetName(name);
        if (container) static_cast<TInstallObject*>(c)->SetContainer(container);
        return c;
    }
    static std::string Names(const TInstallContainer* node) {
        std::string s;
        for (TInstallContainer* c : node->Children()) s += (s.empty() ? "" : ",") + c->Name();
        return s;
    }
    TInstallDefinition* def = nullptr;
};

TEST_F(Tree, ChildrenAreOrderedByTypeNewestFirstWithinAType) {
    auto* root = Make<TInstallRoot>("Install1");
    auto* f1 = Make<TInstallFile>("First", root);
    auto* d = Make<TInstallDirectory>("Dir", root);
    auto* f2 = Make<TInstallFile>("Second", root);
    auto* g = Make<TInstallGroup>("Group", root);
    auto* l = Make<TListener>("Dialog", root);
    Make<TInstallBDE>("Bde", root);
    EXPECT_EQ(Names(root), "Bde,Group,Dir,Second,First,Dialog");
    (void)f1, (void)d, (void)f2, (void)g, (void)l;
}

TEST_F(Tree, ACircularReferenceChangesNothing) {
    auto* root = Make<TInstallRoot>("Install1");
    auto* outer = Make<TInstallGroup>("Outer", root);
    auto* inner = Make<TInstallGroup>("Inner", outer);
    try {
        outer->SetContainer(inner);
        FAIL();
    } catch (const IEInstallContainer& e) {
        EXPECT_EQ(e.Message(), "Circular reference");
    }
    EXPECT_EQ(outer->Container(), root);
    EXPECT_EQ(Names(inner), "");
    EXPECT_EQ(Names(outer), "Inner");
    EXPECT_THROW(root->AddChild(root), IEInstallContainer);
    EXPECT_THROW(root->AddChild(nullptr), IEInstallContainer);
    try {
        root->Child(5);
        FAIL();
    } catch (const IEInstallContainer& e) {
        EXPECT_EQ(e.Message(),
                  "Tried to reference a helper component in the following component: Install1. The following index was used: 5");
    }
    EXPECT_THROW(root->ChildOf<TInstallFile>(0), IEInstallContainer);
    EXPECT_EQ(root->ChildOf<TInstallGroup>(0), outer);
}

TEST_F(Tree, InstallTypesAndSelection) {
    auto* root = Make<TInstallRoot>("Install1");
    auto* file = Make<TInstallFile>("F", root);
    file->SetInstallTypes({});
    EXPECT_EQ(file->InstallTypes(), TInstallTypeSet{TInstallType::itFull});
    file->SetInstallTypes({TInstallType::itCompact});
    root->SetSelectedInstallType(1);
    EXPECT_FALSE(file->IsSelected());
    root->SetSelectedInstallType(3);
    EXPECT_TRUE(file->IsSelected()) << "custom selects every included node";
    file->SetInclude(false);
    EXPECT_FALSE(file->IsSelected());
}

TEST_F(Tree, BroadcastsReachTheDirectChildrenOfTypeTwoThousandAndUp) {
    auto* root = Make<TInstallRoot>("Install1");
    auto* dialog = Make<TListener>("Dialog", root);
    auto* group = Make<TInstallGroup>("Group", root);
    auto* deep = Make<TListener>("Deep", group);
    root->Broadcast(root, kNotifyBeforeInstall, nullptr);
    root->StatusMessage("Installing shell links...");
    root->EndStatusMessage();
    EXPECT_EQ(dialog->heard, (std::vector<int>{kNotifyBeforeInstall, kNotifyStatusMessage, kNotifyEndStatusMessage}));
    EXPECT_TRUE(deep->heard.empty()) << "broadcasts never go further down";
}

TEST_F(Tree, ProgressOutsideAnOperationIsDropped) {
    auto* root = Make<TInstallRoot>("Install1");
    auto* group = Make<TInstallGroup>("Group", root);
    auto* file = Make<TInstallFile>("F", group);
    int statuses = 0;
    group->OnStatus.Bind(nullptr, [&](void*, fw::TObject*, int, int) { ++statuses; });
    TFileStatusParameter param;
    fw::TList list;
    ListAdd(list, file);
    ListAdd(list, &param);
    group->InformationEvent(file, kInfoCompressProgress, &list);
    EXPECT_EQ(statuses, 0);
    EXPECT_NO_THROW(group->InformationEvent(file, kInfoCompressProgress, nullptr)) << "not even checked";
}

TEST_F(Tree, NothingBelowAnUnprocessedContainerIsProcessedDuringARun) {
    auto* root = Make<TInstallRoot>("Install1");
    auto* group = Make<TInstallGroup>("Group", root);
    auto* inner = Make<TInstallGroup>("Inner", group);
    int processed = 0;
    inner->OnBeforeProcess.Bind(nullptr, [&](void*, fw::TObject*) { ++processed; });
    group->SetInclude(false);
    root->SetRunning(true);
    inner->Process();
    EXPECT_EQ(processed, 0);
    root->SetRunning(false);
    inner->Process();
    EXPECT_EQ(processed, 1) << "outside the run the gate is open";
}

TEST_F(Tree, ProcessingFiresItsEventsAndSwallowsTheSilentAbort) {
    auto* root = Make<TInstallRoot>("Install1");
    auto* dialog = Make<TListener>("Dialog", root);
    auto* group = Make<TInstallGroup>("Group", root);
    std::vector<std::string> events;
    group->OnBeforeProcess.Bind(nullptr, [&](void*, fw::TObject*) { events.push_back("before"); });
    group->OnProcessing.Bind(nullptr, [&](void*, fw::TObject*) { events.push_back("processing"); });
    group->OnAfterProcess.Bind(nullptr, [&](void*, fw::TObject*) {
        events.push_back("after");
        fw::Abort();
    });
    group->SetUninstall(false);
    EXPECT_NO_THROW(group->Process());
    EXPECT_EQ(events, (std::vector<std::string>{"before", "processing", "after"}));
    EXPECT_TRUE(group->Processed());
    EXPECT_TRUE(dialog->heard.empty()) << "a node broadcasts to its own children only";
}

// ---- Specifiers -------------------------------------------------------------------------------------------

TEST_F(Tree, PathMacros) {
    EXPECT_EQ(ExpandPathMacro("%p\\bin", "C:\\App"), "C:\\App\\bin");
    EXPECT_EQ(ExpandPathMacro("%P", "x"), "x");
    EXPECT_EQ(ExpandPathMacro("100%%", "x"), "100%");
    EXPECT_EQ(ExpandPathMacro("a%xb", "x"), "axb");
    EXPECT_EQ(ExpandPathMacro("end%", "x"), "end");
}

TEST_F(Tree, StandardSpecifiersAreMadeOnceAndFoundByClass) {
    EXPECT_EQ(def->ComponentCount(), 0);
    EXPECT_THROW(FindSpecifier<TpsSystem>(), IEPathSpecifier);
    EnsureStandardSpecifiers(def);
    EXPECT_EQ(def->ComponentCount(), 14);
    EXPECT_EQ(def->Components(0)->Name(), "psBDEDLL");
    EXPECT_EQ(def->Components(13)->Name(), "psWindow");
    Make<TInstallRoot>("Install1");
    EXPECT_EQ(def->ComponentCount(), 15) << "a node on the definition finds them all";
    EXPECT_EQ(FindSpecifier<TpsSystem>()->GetPath(nullptr), sys().systemDir);
    try {
        FindSpecifier<TpsObjectLink>();
        FAIL();
    } catch (const IEPathSpecifier& e) {
        EXPECT_EQ(e.Message(), "Could not find the path specifier");
    }
}

TEST_F(Tree, SpecifierPathsAndRules) {
    WriteRegString(TRootKeys::hkLocalMachine, kCurrentVersionKey, "ProgramFilesDir", "C:\\Program Files");
    auto* root = Make<TInstallRoot>("Install1");
    root->SetSourceDir("D:\\Setup");
    root->SetDestDirType(FindSpecifier<TpsProgramFiles>());
    root->SetDestDir("\\Morvix\\Zip\\");
    EXPECT_EQ(root->GetDestPath(), "C:\\Program Files\\Morvix\\Zip");
    try {
        FindSpecifier<TpsMainInstall>()->GetPath(root);
        FAIL();
    } catch (const IEPathSpecifier& e) {
        EXPECT_EQ(e.Message(), "Cannot use the ddMainInstallDir path specifier for a TInstall component");
    }
    EXPECT_EQ(root->GetArchivePath(), "D:\\Setup\\files.1") << "the main archive beside the program";
    FindSpecifier<TpsMainArchiveFile>()->SetArchiveDirectory("A:\\");
    EXPECT_EQ(root->GetArchivePath(), "A:\\files.1");
    root->SetSelfExtractor(true, "Setup.exe");
    EXPECT_EQ(root->GetArchivePath(), "D:\\Setup\\Setup.exe");
    root->SetSelfExtractor(true, " ");
    EXPECT_THROW(root->GetArchivePath(), IEInstall);
    auto* group = Make<TInstallGroup>("Group", root);
    group->SetDescription("Tools");
    auto* file = Make<TInstallFile>("F", group);
    auto* spec = FindSpecifier<TpsContainerDestDir>();
    EXPECT_EQ(spec->DescriptionFor(group), "Main installation directory");
    EXPECT_EQ(spec->DescriptionFor(file), "Path of the <Tools> group");
    EXPECT_EQ(spec->ShortNameFor(file), "<Tools>");
    EXPECT_EQ(spec->DescriptionFor(root), "Path of the group (container)") << "fails validation: plain";
    EXPECT_EQ(spec->GetPath(file), "C:\\Program Files\\Morvix\\Zip");
    EXPECT_THROW(FindSpecifier<TpsContainerArchiveFile>()->Validate(root), IEPathSpecifier);
    WriteRegString(TRootKeys::hkLocalMachine, "\\SOFTWARE\\Quenford\\Database Engine", "DLLPath", "C:\\BDE\\;C:\\Other");
    EXPECT_EQ(FindSpecifier<TpsBDEDLL>()->GetPath(nullptr), "C:\\BDE");
    EXPECT_EQ(group->PathSpecifier()->GetPath(nullptr), "C:\\Program Files\\Morvix\\Zip");
    EXPECT_EQ(group->PathSpecifier()->Description(), "Path into which Tools will be installed");
    EXPECT_THROW(group->PathSpecifier()->Validate(file), IEPathSpecifier);
}

TEST_F(Tree, TwoContainersGetNumberedSpecifiers) {
    auto* a = Make<TInstallDirectory>("A");
    auto* b = Make<TInstallDirectory>("B");
    EXPECT_EQ(a->PathSpecifier()->Name(), "psFileContainer");
    EXPECT_EQ(b->PathSpecifier()->Name(), "psFileContainer1");
    EXPECT_EQ(b->PathSpecifier()->FileContainer(), b);
    b->Free();
    EXPECT_EQ(def->FindComponent("psFileContainer1"), nullptr) << "a container takes its specifier with it";
}

TEST_F(Tree, ADefinitionLoadsFromFormText) {
    // Specifiers first (none are made twice), a forward reference, a streamed container specifier that
    // replaces the made one and takes its name, and files that only store while they load.
    const char* text = R"(object Def: TInstallDefinition
  object psBDEDLL: TpsBDEDLL end
  object psCommonFiles: TpsCommonFiles end
  object psContainerArchiveFile: TpsContainerArchiveFile end
  object psContainerDestDir: TpsContainerDestDir end
  object psDesktopMenu: TpsDesktopMenu end
  object psInstallSource: TpsInstallSource end
  object psMainInstall: TpsMainInstall end
  object psProgramFiles: TpsProgramFiles end
  object psProgramMenu: TpsProgramMenu end
  object psStartMenu: TpsStartMenu end
  object psStartupMenu: TpsStartupMenu end
  object psSystem: TpsSystem end
  object psMainArchiveFile: TpsMainArchiveFile end
  object psWindow: TpsWindow end
  object Install1: TInstallRoot
    DestDir = '\Morvix Tools\Zip'
    DestDirType = psProgramFiles
    NetLocation = NetLocation
    Information.ProductName = 'Morvix Zip'
  end
  object Group1: TInstallGroup
    Container = Install1
    Description = 'Program'
  end
  object Directory: TInstallDirectory
    Container = Group1
    Description = 'Help'
    DestDir = '\Help'
  end
  object psFileContainer: TpsFileContainer
    FileContainer = Directory
  end
  object Readme: TInstallFile
    Container = Group1
    FileName = 'Readme.txt'
    IncludeFromDir = 'C:\build'
    UniqueID = 7
  end
  object License: TInstallFile
    Container = Group1
    FileName = 'License.txt'
    DestName = 'License.txt'
    UniqueID = 3
  end
  object Help: TInstallFile
    Container = Directory
    FileName = 'MXZP.cnt'
    OverwriteMode = owDate
    InstallTypes = [itFull, itCompact]
    UniqueID = 2
  end
  object NetLocation: TNetInstallLocation
    LoginInformation.Hostname = 'example.test'
  end
end
)";
    fw::ReadComponentText(def, text, "Def");
    EXPECT_EQ(StandardPathSpecList().size(), 14u);
    auto* root = dynamic_cast<TInstallRoot*>(def->FindComponent("Install1"));
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(InstallComponent(), root);
    EXPECT_EQ(root->NetLocation(), def->FindComponent("NetLocation")) << "the forward reference";
    EXPECT_EQ(root->Information()->ProductName, "Morvix Zip");
    EXPECT_EQ(Names(root), "Group1");
    auto* group = dynamic_cast<TInstallGroup*>(def->FindComponent("Group1"));
    EXPECT_EQ(Names(group), "Directory,License,Readme");
    auto* directory = dynamic_cast<TInstallDirectory*>(def->FindComponent("Directory"));
    auto* streamed = dynamic_cast<TpsFileContainer*>(def->FindComponent("psFileContainer"));
    ASSERT_NE(streamed, nullptr);
    EXPECT_EQ(directory->PathSpecifier(), streamed) << "the streamed specifier replaced the made one";
    auto* readme = dynamic_cast<TInstallFile*>(def->FindComponent("Readme"));
    EXPECT_EQ(readme->DestName(), "") << "setters only store while the form loads";
    EXPECT_EQ(readme->UniqueID(), 7);
    EXPECT_TRUE(UniqueIdUsed(7));
    EXPECT_TRUE(UniqueIdUsed(2));
    EXPECT_FALSE(UniqueIdUsed(0)) << "ids taken while the form was read are given back";
    auto* help = dynamic_cast<TInstallFile*>(def->FindComponent("Help"));
    EXPECT_EQ(help->OverwriteMode(), TOverwriteType::owDate);
    EXPECT_EQ(help->InstallTypes(), (TInstallTypeSet{TInstallType::itFull, TInstallType::itCompact}));
    auto* next = fw::Make<TInstallFile>(def);
    EXPECT_EQ(next->UniqueID(), 0) << "a new file takes the lowest free id";
    // Group1 made "psFileContainer" first: the streamed one of that name renamed it.
    EXPECT_EQ(group->PathSpecifier()->Name(), "nameClash");
    EXPECT_EQ(def->FindComponent("psFileContainer1"), nullptr) << "Directory's own specifier was freed";
}

TEST_F(Tree, AStreamedSpecifierTakesTheNameOfTheMadeOne) {
    const char* text = R"(object Def: TInstallDefinition
  object A: TInstallDirectory end
  object B: TInstallDirectory end
  object psFileContainer: TpsFileContainer
    FileContainer = B
  end
end
)";
    fw::ReadComponentText(def, text, "Def");
    auto* a = dynamic_cast<TInstallDirectory*>(def->FindComponent("A"));
    auto* b = dynamic_cast<TInstallDirectory*>(def->FindComponent("B"));
    EXPECT_EQ(b->PathSpecifier()->Name(), "psFileContainer");
    EXPECT_EQ(a->PathSpecifier()->Name(), "nameClash") << "A's own specifier made room";
    EXPECT_EQ(a->PathSpecifier()->FileContainer(), a);
}

}  // namespace
}  // namespace inst
