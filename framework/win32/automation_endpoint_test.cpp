// The automation endpoint inside the test process: requests are sent to its window as the driver
// sends them, and replies come back to a window of the test. Covers what the driver scripts do not
// reach easily: error texts, string-list rows of components without a window, actions that fail
// when they run, handlers that fail under them, and the dialog answer queue.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/core/exceptions.h"
#include "framework/core/lists.h"
#include "framework/core/rtti.h"
#include "framework/automation/protocol.h"
#include "framework/win32/application.h"
#include "framework/win32/automation.h"
#include "framework/win32/callback.h"
#include "framework/win32/datamodule.h"
#include "framework/win32/dropfiles.h"
#include "framework/win32/forms.h"
#include "framework/win32/std_listbox.h"
#include "framework/win32/screen.h"
#include "framework/win32/winapi.h"

namespace {

using fw::drive::Reply;

class TAutoHolder : public fw::TComponent {
public:
    explicit TAutoHolder(fw::TComponent* owner) : TComponent(owner) {}
    fw::TStrings* Items() const { return items_; }
    void SetItems(fw::TStrings* value) { items_->Assign(value); }

protected:
    ~TAutoHolder() override { delete items_; }

private:
    fw::TStringList* items_ = new fw::TStringList();
};

// A menu item as far as automation sees one: Enabled and OnClick.
class TAutoItem : public fw::TComponent {
public:
    explicit TAutoItem(fw::TComponent* owner) : TComponent(owner) {}
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value) { enabled_ = value; }
    fw::TNotifyEvent OnClick;

private:
    bool enabled_ = true;
};

class TAutoModule : public fw::TDataModule {
public:
    using TDataModule::TDataModule;
    void ItemClick(fw::TObject* Sender) { clicks.push_back(static_cast<fw::TComponent*>(Sender)->Name()); }
    void FailingClick(fw::TObject*) { throw fw::EReadError("Error reading frmBroken.Caption: bad text"); }
    void AbortingClick(fw::TObject*) { fw::Abort(); }
    std::vector<std::string> clicks;
};

Reply g_reply;
bool g_replied = false;

LRESULT CALLBACK ReplyProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    FW_CALLBACK_BODY(0, {
        if (message != WM_COPYDATA) return DefWindowProcA(window, message, wParam, lParam);
        const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        g_replied = data->dwData == fw::drive::kReplyTag &&
                    fw::drive::ParseReply(std::string(static_cast<const char*>(data->lpData), data->cbData), g_reply);
        return LRESULT(1);
    })
}

class AutomationEndpointTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetEnvironmentVariableA("FW_AUTOMATION", "1");
        fw::InitApplication();
        fw::Class<TAutoHolder, fw::TComponent>("TAutoHolder").Prop("Items", &TAutoHolder::Items, &TAutoHolder::SetItems);
        fw::Class<TAutoItem, fw::TComponent>("TAutoItem")
            .Prop("Enabled", &TAutoItem::Enabled, &TAutoItem::SetEnabled)
            .Event("OnClick", &TAutoItem::OnClick);
        fw::Class<TAutoModule, fw::TDataModule>("TAutoModule")
            .Method("ItemClick", &TAutoModule::ItemClick)
            .Method("FailingClick", &TAutoModule::FailingClick)
            .Method("AbortingClick", &TAutoModule::AbortingClick);
        fw::Application->Initialize();
        std::string title = std::string(fw::drive::kEndpointTitlePrefix) + std::to_string(GetCurrentProcessId());
        endpoint_ = FindWindowExA(nullptr, nullptr, fw::drive::kEndpointClass, title.c_str());
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = &ReplyProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "AutomationTestReply";
        RegisterClassExA(&wc);
        reply_ = CreateWindowExA(0, wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);

        module_ = fw::Make<TAutoModule>(fw::Application);
        module_->SetName("dmData");
        holder_ = fw::Make<TAutoHolder>(module_);
        holder_->SetName("Holder");
        holder_->Items()->SetText("first\r\nsecond\tcell\r\n");
    }

    void TearDown() override {
        DestroyWindow(reply_);
        fw::DoneApplication();
        SetEnvironmentVariableA("FW_AUTOMATION", nullptr);
    }

    Reply Send(const std::string& text) {
        COPYDATASTRUCT data{};
        data.dwData = fw::drive::kRequestTag;
        data.cbData = static_cast<DWORD>(text.size());
        data.lpData = const_cast<char*>(text.data());
        g_replied = false;
        g_reply = Reply();
        SendMessageA(endpoint_, WM_COPYDATA, reinterpret_cast<WPARAM>(reply_), reinterpret_cast<LPARAM>(&data));
        EXPECT_TRUE(g_replied) << text;
        return g_reply;
    }
    Reply Ask(const std::string& verb, const std::string& args) {
        return Send(fw::drive::FormatRequest({++id_, verb, args}));
    }
    void Settle() {
        for (int i = 0; i < 5; ++i) fw::Application->ProcessMessages();
    }

    HWND endpoint_ = nullptr;
    HWND reply_ = nullptr;
    uint32_t id_ = 0;
    TAutoModule* module_ = nullptr;
    TAutoHolder* holder_ = nullptr;
};

TEST_F(AutomationEndpointTest, QueriesAndTheirErrors) {
    ASSERT_TRUE(fw::automation::Active());
    ASSERT_NE(endpoint_, nullptr);
    struct Case {
        const char* verb;
        const char* args;
        bool ok;
        std::string payload;
    } cases[] = {
        {"forms", "", true, "dmData\tTAutoModule\t0\t1\t0\t0"},
        {"comps", "dmData", true, "Holder\tTAutoHolder\t\t\t\t"},
        {"rows", "dmData.Holder", true, "first\nsecond\\tcell"},
        {"rows", "dmData.Holder.Items", true, "first\nsecond\\tcell"},
        {"get", "dmData.Holder.Items", true, "first\\r\\nsecond\\tcell\\r\\n"},
        {"get", "dmData.Holder.Tag", true, "0"},
        {"get", "nope.Holder.Tag", false, "no form or data module \"nope\""},
        {"get", "dmData.Missing.Tag", false, "no property \"Missing\" in TAutoModule (dmData.Missing.Tag)"},
        {"get", "dmData.Holder.Tag.Deeper", false, "\"Tag\" has no sub-properties (dmData.Holder.Tag.Deeper)"},
        {"get", "dmData", false, "\"dmData\" names no property"},
        {"rows", "dmData", false, "dmData (TAutoModule) has no rows"},
        {"comps", "dmData.Nothing", false, "no component \"Nothing\" in dmData"},
        {"dialog", "", false, "no dialog"},
        {"log", "", true, ""},
        {"menu", "dmData.Holder", false, "dmData.Holder (TAutoHolder) has no OnClick"},
        {"click", "dmData.Holder", false, "dmData.Holder (TAutoHolder) is not a control"},
        {"keys", "dmData.Holder {Nope}", false, "dmData.Holder (TAutoHolder) is not a control"},
        {"invoke", "dmData.Nothing", false, "no handler \"Nothing\" in TAutoModule"},
        {"press", "1", false, "no dialog"},
        {"bogus", "", false, "unknown verb \"bogus\""},
    };
    for (const Case& c : cases) {
        Reply r = Ask(c.verb, c.args);
        EXPECT_EQ(r.id, id_) << c.verb << " " << c.args;
        EXPECT_EQ(r.ok, c.ok) << c.verb << " " << c.args;
        EXPECT_EQ(r.payload, c.payload) << c.verb << " " << c.args;
    }
    Reply malformed = Send("not a request");
    EXPECT_FALSE(malformed.ok);
    EXPECT_EQ(malformed.payload, "malformed request");
}

TEST_F(AutomationEndpointTest, ActionsRunWhenTheLoopDispatches) {
    Reply queued = Ask("set", "dmData.Holder.Tag 42");
    ASSERT_TRUE(queued.ok) << queued.payload;
    EXPECT_EQ(queued.payload, "queued 1");
    // Not run yet: the action waits for the loop, like user input.
    EXPECT_EQ(Ask("get", "dmData.Holder.Tag").payload, "0");
    EXPECT_EQ(Ask("progress", "").payload, "done 0 running 0");
    Settle();
    EXPECT_EQ(Ask("get", "dmData.Holder.Tag").payload, "42");
    EXPECT_EQ(Ask("progress", "1").payload, "done 1 running 0");

    // A value the setter refuses is accepted when queued and reported when it ran.
    Reply bad = Ask("set", "dmData.Holder.Tag many");
    ASSERT_TRUE(bad.ok) << bad.payload;
    Settle();
    Reply progress = Ask("progress", "2");
    EXPECT_FALSE(progress.ok);
    EXPECT_FALSE(progress.payload.empty());
    EXPECT_EQ(Ask("get", "dmData.Holder.Tag").payload, "42");

    // String lists take the whole text; rows then show each line.
    ASSERT_TRUE(Ask("set", "dmData.Holder.Items one\r\ntwo").ok);
    Settle();
    EXPECT_EQ(Ask("rows", "dmData.Holder").payload, "one\ntwo");
    EXPECT_EQ(Ask("state", "").payload.find("queued\t0") != std::string::npos, true);
}

TEST_F(AutomationEndpointTest, MenuItemsClickThroughTheirHandler) {
    auto* open = fw::Make<TAutoItem>(module_);
    open->SetName("mnuOpen");
    open->OnClick = fw::TNotifyEvent(module_, &TAutoModule::ItemClick);
    auto* off = fw::Make<TAutoItem>(module_);
    off->SetName("mnuOff");
    off->OnClick = open->OnClick;
    off->SetEnabled(false);
    ASSERT_TRUE(Ask("menu", "dmData.mnuOpen").ok);
    Reply refused = Ask("menu", "dmData.mnuOff");
    EXPECT_FALSE(refused.ok);
    EXPECT_EQ(refused.payload, "dmData.mnuOff is disabled");
    Settle();
    EXPECT_EQ(module_->clicks, std::vector<std::string>{"mnuOpen"});

    // The menus unit's own click wins for the items it knows.
    static std::vector<std::string> seen;
    fw::automation::SetMenuClickHandler([](fw::TComponent* item) {
        seen.push_back(item->Name());
        return true;
    });
    ASSERT_TRUE(Ask("menu", "dmData.mnuOpen").ok);
    Settle();
    fw::automation::SetMenuClickHandler(nullptr);
    EXPECT_EQ(seen, std::vector<std::string>{"mnuOpen"});
    EXPECT_EQ(module_->clicks.size(), 1u);
}

// A handler that fails, run by `menu` or `invoke`, fails as it would under the user's click: the
// application's exception handler gets it (EAbort stays silent) and the action itself ran.
TEST_F(AutomationEndpointTest, AHandlerThatFailsReachesTheApplicationNotTheDriver) {
    static std::vector<std::string> reported;
    reported.clear();
    fw::Application->OnException.Bind(nullptr, [](void*, fw::TObject*, fw::Exception& e) {
        reported.push_back(e.Message());
    });
    auto* broken = fw::Make<TAutoItem>(module_);
    broken->SetName("mnuBroken");
    broken->OnClick = fw::TNotifyEvent(module_, &TAutoModule::FailingClick);
    auto* aborting = fw::Make<TAutoItem>(module_);
    aborting->SetName("mnuAbort");
    aborting->OnClick = fw::TNotifyEvent(module_, &TAutoModule::AbortingClick);
    const std::string failure = "Error reading frmBroken.Caption: bad text";
    struct Case {
        const char* verb;
        const char* args;
        std::vector<std::string> want;
    };
    const Case cases[] = {
        {"menu", "dmData.mnuBroken", {failure}},
        {"invoke", "dmData.FailingClick", {failure}},
        {"menu", "dmData.mnuAbort", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.verb) + " " + c.args);
        reported.clear();
        Reply queued = Ask(c.verb, c.args);
        ASSERT_TRUE(queued.ok) << queued.payload;
        Settle();
        EXPECT_EQ(reported, c.want);
        Reply progress = Ask("progress", queued.payload.substr(queued.payload.find(' ') + 1));
        EXPECT_TRUE(progress.ok) << progress.payload;
    }
    fw::Application->OnException.Reset();
}

TEST_F(AutomationEndpointTest, AnswersAreTakenByKindInOrderAndLogged) {
    ASSERT_TRUE(Ask("answer", "messagebox Yes").ok);
    ASSERT_TRUE(Ask("answer", "folder C:\\temp\\out dir").ok);
    ASSERT_TRUE(Ask("answer", "messagebox 7").ok);
    std::string value;
    EXPECT_FALSE(fw::automation::TakeQueuedAnswer("messagebox", value, "c", "t")) << "not run yet";
    Settle();
    EXPECT_FALSE(fw::automation::TakeQueuedAnswer("open", value, "Open", ""));
    ASSERT_TRUE(fw::automation::TakeQueuedAnswer("MessageBox", value, "Question", "Go on?"));
    EXPECT_EQ(value, "Yes");
    ASSERT_TRUE(fw::automation::TakeQueuedAnswer("folder", value, "Browse", "Pick\ta folder"));
    EXPECT_EQ(value, "C:\\temp\\out dir");
    // The application's message box takes the next one without showing anything.
    EXPECT_EQ(fw::Application->MessageBox("Again?", "Question", MB_YESNO), IDNO);
    EXPECT_FALSE(fw::automation::TakeQueuedAnswer("messagebox", value, "c", "t"));
    // A seam's record joins the answers in order.
    fw::automation::Record("help", "1 100050", "MXZP.HLP", "");
    EXPECT_EQ(Ask("log", "").payload,
              "MessageBox\tYes\tQuestion\tGo on?\n"
              "folder\tC:\\\\temp\\\\out dir\tBrowse\tPick\\ta folder\n"
              "messagebox\t7\tQuestion\tAgain?\n"
              "help\t1 100050\tMXZP.HLP\t");
}

}  // namespace

namespace {

// A form whose panel takes dropped files and keeps their names.
class TDropForm : public fw::TForm {
public:
    explicit TDropForm(fw::TComponent* owner) : TForm(owner) {}
    std::vector<std::string> dropped;
};

class TDropPanel : public fw::TWinControl {
public:
    using TWinControl::TWinControl;
    std::vector<std::string>* sink = nullptr;

protected:
    void Dispatch(fw::TMessage& message) override {
        if (message.Msg == WM_DROPFILES) {
            fw::TDropFiles drop(reinterpret_cast<HDROP>(message.WParam));
            if (sink) *sink = drop.Names();
            message.Result = 0;
            return;
        }
        TWinControl::Dispatch(message);
    }
};

TEST_F(AutomationEndpointTest, DropsArriveAsTheShellDeliversThem) {
    auto* form = fw::TForm::CreateNew<TDropForm>(fw::Application);
    form->SetName("frmDrop");
    auto* target = fw::Make<TDropPanel>(form);
    target->SetName("Target");
    target->SetParent(form);
    target->SetBounds(0, 0, 100, 100);
    target->sink = &form->dropped;
    auto* other = fw::Make<TDropPanel>(form);
    other->SetName("Other");
    other->SetParent(form);
    other->SetBounds(100, 0, 100, 100);
    form->Show();
    DragAcceptFiles(target->Handle(), TRUE);
    Settle();

    ASSERT_TRUE(Ask("drop", "frmDrop.Target C:\\a b\\x.zip|C:\\y.arj").ok);
    Settle();
    EXPECT_EQ(form->dropped, (std::vector<std::string>{"C:\\a b\\x.zip", "C:\\y.arj"}));
    // Nothing accepts files there: refused before anything is posted.
    Reply refused = Ask("drop", "frmDrop.Other C:\\x.zip");
    EXPECT_FALSE(refused.ok);
    EXPECT_EQ(refused.payload, "frmDrop.Other accepts no dropped files");
    EXPECT_FALSE(Ask("drop", "frmDrop.Target").ok);
    form->Free();
}

}  // namespace

namespace {

// A form with a drag source and two targets, one of which refuses the source.
class TDragForm : public fw::TForm {
public:
    explicit TDragForm(fw::TComponent* owner) : TForm(owner) {}
    void Over(fw::TObject* Sender, fw::TObject* Source, int, int, fw::TDragState, bool& Accept) {
        Accept = Sender == Taker && Source == Source1;
    }
    void Dropped(fw::TObject* Sender, fw::TObject* Source, int, int) {
        drops.push_back(static_cast<fw::TComponent*>(Source)->Name() + " on " +
                        static_cast<fw::TComponent*>(Sender)->Name());
    }
    fw::TWinControl* Source1 = nullptr;
    fw::TWinControl* Taker = nullptr;
    std::vector<std::string> drops;
};

TEST_F(AutomationEndpointTest, DragsRunTheFrameworksDragFromSourceToTarget) {
    auto* form = fw::TForm::CreateNew<TDragForm>(fw::Application);
    form->SetName("frmDrag");
    form->SetBounds(50, 50, 400, 200);
    auto make = [&](const char* name, int left) {
        auto* c = fw::Make<fw::TWinControl>(form);
        c->SetName(name);
        c->SetParent(form);
        c->SetBounds(left, 0, 100, 100);
        c->OnDragOver = fw::TDragOverEvent(form, &TDragForm::Over);
        c->OnDragDrop = fw::TDragDropEvent(form, &TDragForm::Dropped);
        return c;
    };
    form->Source1 = make("Source", 0);
    form->Taker = make("Taker", 120);
    make("Refuser", 240);
    form->Show();
    Settle();

    ASSERT_TRUE(Ask("drag", "frmDrag.Source frmDrag.Taker").ok);
    Settle();
    EXPECT_EQ(form->drops, (std::vector<std::string>{"Source on Taker"}));
    EXPECT_EQ(fw::DragSource(), nullptr);
    // Refused by the target's OnDragOver: no drop, and the drag is over.
    ASSERT_TRUE(Ask("drag", "frmDrag.Source frmDrag.Refuser").ok);
    Settle();
    EXPECT_EQ(form->drops.size(), 1u);
    EXPECT_EQ(fw::DragSource(), nullptr);
    EXPECT_EQ(Ask("drag", "frmDrag.Source").payload, "drag <source> <target>");
    EXPECT_FALSE(Ask("drag", "frmDrag.Source frmDrag.Nothing").ok);
    form->Free();
}

// A double click on a list box lands on its current item, which the double click then reports.
TEST_F(AutomationEndpointTest, DoubleClicksReachTheCurrentItemOfAListBox) {
    auto* form = fw::TForm::CreateNew<fw::TForm>(fw::Application);
    form->SetName("frmDouble");
    form->SetBounds(50, 50, 300, 300);
    auto* list = fw::Make<fw::TListBox>(form);
    list->SetName("List");
    list->SetParent(form);
    list->SetBounds(0, 0, 200, 200);
    list->Items()->Add("one");
    list->Items()->Add("two");
    struct Seen {
        fw::TListBox* list;
        std::vector<int> items;
        void DblClick(fw::TObject*) { items.push_back(list->ItemIndex()); }
    } seen{list, {}};
    list->OnDblClick = fw::TNotifyEvent(&seen, &Seen::DblClick);
    form->Show();
    list->SetItemIndex(1);
    Settle();

    ASSERT_TRUE(Ask("dblclick", "frmDouble.List").ok);
    Settle();
    EXPECT_EQ(seen.items, std::vector<int>{1});
    EXPECT_FALSE(Ask("dblclick", "frmDouble.Nothing").ok);
    form->Free();
}

}  // namespace
