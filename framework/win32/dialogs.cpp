// Message and input forms, the file dialogs and the folder browser.
#include "framework/win32/dialogs.h"

#include <commdlg.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "framework/core/rtti.h"
#include "framework/core/sysutils.h"
#include "framework/win32/application.h"
#include "framework/win32/automation.h"
#include "framework/win32/callback.h"
#include "framework/win32/graphics.h"
#include "framework/win32/screen.h"
#include "framework/win32/std_button.h"
#include "framework/win32/std_edit.h"
#include "framework/win32/std_label.h"

namespace fw {
namespace {

constexpr const char* kCancelAnswer = "{Cancel}";

struct ButtonSpec {
    TMsgDlgBtn button;
    const char* name;
    const char* caption;
    TModalResult result;
};
constexpr ButtonSpec kButtons[] = {
    {mbYes, "Yes", "&Yes", mrYes},          {mbNo, "No", "&No", mrNo},
    {mbOK, "OK", "OK", mrOk},               {mbCancel, "Cancel", "Cancel", mrCancel},
    {mbAbort, "Abort", "&Abort", mrAbort},  {mbRetry, "Retry", "&Retry", mrRetry},
    {mbIgnore, "Ignore", "&Ignore", mrIgnore}, {mbAll, "All", "&All", mrAll},
    {mbNoToAll, "NoToAll", "N&o to All", mrNoToAll}, {mbYesToAll, "YesToAll", "Yes to &All", mrYesToAll},
    {mbHelp, "Help", "&Help", mrNone},
};

const char* TypeCaption(TMsgDlgType type) {
    switch (type) {
        case mtWarning: return "Warning";
        case mtError: return "Error";
        case mtInformation: return "Information";
        case mtConfirmation: return "Confirm";
        default: return nullptr;
    }
}

LPCSTR TypeIcon(TMsgDlgType type) {
    switch (type) {
        case mtWarning: return IDI_EXCLAMATION;
        case mtError: return IDI_HAND;
        case mtInformation: return IDI_ASTERISK;
        case mtConfirmation: return IDI_QUESTION;
        default: return nullptr;
    }
}

// "Yes", "mrYes", "6": a modal result; 0 for text it does not know.
int ParseResult(const std::string& text) {
    char* end = nullptr;
    const long number = std::strtol(text.c_str(), &end, 10);
    if (!text.empty() && end && !*end) return static_cast<int>(number);
    int64_t value = 0;
    if (ModalResultIdents().ValueOf(text, value)) return static_cast<int>(value);
    if (ModalResultIdents().ValueOf("mr" + text, value)) return static_cast<int>(value);
    return 0;
}

// The type's icon, painted by the form.
class TDialogIcon : public TGraphicControl {
public:
    explicit TDialogIcon(TComponent* owner) : TGraphicControl(owner) {}
    HICON icon = nullptr;

protected:
    void Paint() override {
        if (icon) DrawIcon(Canvas()->Handle(), 0, 0, icon);
    }
};

// The message form: Help opens help and keeps the dialog.
class TMessageForm : public TForm {
public:
    explicit TMessageForm(TComponent* owner) : TForm(owner) {}
    int helpContext = 0;
    void HelpClick(TObject*) { Application->HelpContext(helpContext); }
};

TSize TextSize(TFont* font, const std::string& text, int maxWidth, unsigned flags) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font->Handle());
    RECT r{0, 0, maxWidth, 0};
    DrawTextA(dc, text.empty() ? " " : text.c_str(), text.empty() ? 1 : static_cast<int>(text.size()), &r,
              flags | DT_CALCRECT);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return TSize{r.right, r.bottom};
}

// Shows a framework dialog form modal with the task windows of the program behind it.
int RunModal(TForm* form) {
    form->SetPosition(poScreenCenter);
    return form->ShowModal();
}

}  // namespace

// ---- MessageDlg ----------------------------------------------------------------------------------

TForm* CreateMessageDialog(const std::string& msg, TMsgDlgType type, TMsgDlgButtons buttons) {
    auto* form = TForm::CreateNew<TMessageForm>(Application);
    try {
        form->SetName("MessageDlg");
        form->SetBorderStyle(TFormBorderStyle::bsDialog);
        form->SetBorderIcons(TBorderIcons{biSystemMenu});
        const char* caption = TypeCaption(type);
        form->SetCaption(caption ? caption : (Application ? Application->Title() : std::string()));
        form->Font()->SetName("MS Sans Serif");
        const int margin = 8, spacing = 10, buttonWidth = 75, buttonHeight = 25, buttonGap = 6;
        int left = margin;
        if (LPCSTR iconId = TypeIcon(type)) {
            auto* icon = Make<TDialogIcon>(form);
            icon->SetName("Image");
            icon->icon = LoadIconA(nullptr, iconId);
            icon->SetParent(form);
            icon->SetBounds(margin, margin, 32, 32);
            left += 32 + spacing;
        }
        const TSize text = TextSize(form->Font(), msg, GetSystemMetrics(SM_CXSCREEN) / 2, DT_WORDBREAK | DT_NOPREFIX);
        auto* label = Make<TLabel>(form);
        label->SetName("Message");
        label->SetParent(form);
        label->SetAutoSize(false);
        label->SetWordWrap(true);
        label->SetShowAccelChar(false);
        label->SetBounds(left, margin, text.cx + 4, text.cy);
        label->SetCaption(msg);

        std::vector<const ButtonSpec*> specs;
        for (const ButtonSpec& spec : kButtons)
            if (buttons.Contains(spec.button)) specs.push_back(&spec);
        if (specs.empty()) specs.push_back(&kButtons[2]);  // OK
        const int buttonsWidth = static_cast<int>(specs.size()) * (buttonWidth + buttonGap) - buttonGap;
        const int clientWidth = std::max(left + text.cx + 4 + margin, buttonsWidth + 2 * margin);
        const int buttonTop = margin + std::max(text.cy, left > margin ? 32 : 0) + spacing + 4;
        form->SetFormClientWidth(clientWidth);
        form->SetFormClientHeight(buttonTop + buttonHeight + margin);

        auto has = [&](TMsgDlgBtn b) { return buttons.Contains(b); };
        const TMsgDlgBtn defaultButton = has(mbOK) ? mbOK : has(mbYes) ? mbYes : specs.front()->button;
        const TMsgDlgBtn cancelButton = has(mbCancel) ? mbCancel : has(mbNo) ? mbNo : specs.size() == 1 ? specs.front()->button : mbCancel;
        int x = (clientWidth - buttonsWidth) / 2;
        int tabOrder = 0;
        for (const ButtonSpec* spec : specs) {
            auto* button = Make<TButton>(form);
            button->SetName(spec->name);
            button->SetParent(form);
            button->SetCaption(spec->caption);
            button->SetBounds(x, buttonTop, buttonWidth, buttonHeight);
            button->SetModalResult(spec->result);
            button->SetTabOrder(tabOrder++);
            if (spec->button == defaultButton) {
                button->SetDefault(true);
                form->SetActiveControl(button);
            }
            if (spec->button == cancelButton) button->SetCancel(true);
            if (spec->button == mbHelp)
                button->OnClick = TNotifyEvent(static_cast<TMessageForm*>(form), &TMessageForm::HelpClick);
            x += buttonWidth + buttonGap;
        }
    } catch (...) {
        form->Free();
        throw;
    }
    return form;
}

int MessageDlg(const std::string& msg, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext) {
    const char* typeCaption = TypeCaption(type);
    const std::string caption = typeCaption ? typeCaption : (Application ? Application->Title() : std::string());
    std::string answer;
    if (automation::TakeQueuedAnswer("messagebox", answer, caption, msg)) return ParseResult(answer);
    TForm* form = CreateMessageDialog(msg, type, buttons);
    static_cast<TMessageForm*>(form)->helpContext = helpContext;
    int result = mrCancel;
    try {
        result = RunModal(form);
    } catch (...) {
        form->Free();
        throw;
    }
    form->Free();
    return result;
}

void ShowMessage(const std::string& msg) { MessageDlg(msg, mtCustom, TMsgDlgButtons{mbOK}, 0); }

// ---- InputQuery ----------------------------------------------------------------------------------

bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value, bool masked) {
    std::string answer;
    if (automation::TakeQueuedAnswer("input", answer, caption, prompt)) {
        if (answer == kCancelAnswer) return false;
        value = answer;
        return true;
    }
    auto* form = TForm::CreateNew<TForm>(Application);
    bool ok = false;
    try {
        form->SetName("InputQuery");
        form->SetBorderStyle(TFormBorderStyle::bsDialog);
        form->SetBorderIcons(TBorderIcons{biSystemMenu});
        form->SetCaption(caption);
        form->SetFormClientWidth(260);
        form->SetFormClientHeight(100);
        auto* label = Make<TLabel>(form);
        label->SetName("Prompt");
        label->SetParent(form);
        label->SetBounds(8, 8, 240, 13);
        label->SetCaption(prompt);
        auto* edit = Make<TEdit>(form);
        edit->SetName("Value");
        edit->SetParent(form);
        edit->SetBounds(8, 26, 244, 21);
        edit->SetText(value);
        if (masked) edit->SetPasswordChar('*');
        label->SetFocusControl(edit);
        auto* okButton = Make<TButton>(form);
        okButton->SetName("OK");
        okButton->SetParent(form);
        okButton->SetCaption("OK");
        okButton->SetBounds(96, 64, 75, 25);
        okButton->SetModalResult(mrOk);
        okButton->SetDefault(true);
        auto* cancelButton = Make<TButton>(form);
        cancelButton->SetName("Cancel");
        cancelButton->SetParent(form);
        cancelButton->SetCaption("Cancel");
        cancelButton->SetBounds(177, 64, 75, 25);
        cancelButton->SetModalResult(mrCancel);
        cancelButton->SetCancel(true);
        form->SetActiveControl(edit);
        if (RunModal(form) == mrOk) {
            value = edit->Text();
            ok = true;
        }
    } catch (...) {
        form->Free();
        throw;
    }
    form->Free();
    return ok;
}

std::string InputBox(const std::string& caption, const std::string& prompt, const std::string& defaultValue) {
    std::string value = defaultValue;
    InputQuery(caption, prompt, value);
    return value;
}

// ---- file dialogs --------------------------------------------------------------------------------

TCommonDialog::TCommonDialog(TComponent* owner) : TComponent(owner) {}

HWND DialogOwner() {
    if (Screen && Screen->ActiveForm() && Screen->ActiveForm()->HandleAllocated()) return Screen->ActiveForm()->Handle();
    if (Application && Application->MainForm() && Application->MainForm()->HandleAllocated())
        return Application->MainForm()->Handle();
    return Application ? Application->Handle() : nullptr;
}

HWND TCommonDialog::OwnerWindow() { return DialogOwner(); }

TOpenDialog::TOpenDialog(TComponent* owner) : TCommonDialog(owner) { files_ = new TStringList(); }

TOpenDialog::~TOpenDialog() { delete files_; }

std::string SystemFilter(const std::string& filter) {
    std::string result;
    for (char c : filter) result += c == '|' ? '\0' : c;
    // Pairs: a trailing text without a mask still needs one.
    size_t parts = static_cast<size_t>(std::count(filter.begin(), filter.end(), '|')) + 1;
    if (filter.empty()) return std::string(2, '\0');
    if (parts % 2) result += std::string(1, '\0') + "*.*";
    result += std::string(2, '\0');
    return result;
}

std::vector<std::string> SplitSelection(const char* buffer) {
    std::vector<std::string> parts;
    for (const char* p = buffer; *p; p += std::strlen(p) + 1) parts.emplace_back(p);
    if (parts.size() <= 1) return parts;
    std::vector<std::string> names;
    const std::string dir = IncludeTrailingBackslash(parts.front());
    for (size_t i = 1; i < parts.size(); ++i) names.push_back(dir + parts[i]);
    return names;
}

bool TOpenDialog::Execute() {
    const std::string caption = !title_.empty() ? title_ : IsSave() ? "Save As" : "Open";
    std::string answer;
    if (automation::TakeQueuedAnswer(IsSave() ? "save" : "open", answer, caption, fileName_)) {
        if (answer.empty() || answer == kCancelAnswer) return false;
        files_->Clear();
        size_t start = 0;
        while (start <= answer.size()) {
            const size_t bar = answer.find('|', start);
            const std::string name = answer.substr(start, bar == std::string::npos ? std::string::npos : bar - start);
            if (!name.empty()) files_->Add(name);
            if (bar == std::string::npos) break;
            start = bar + 1;
        }
        if (files_->Count() > 0) fileName_ = files_->Get(0);
        return files_->Count() > 0;
    }

    std::vector<char> buffer(64 * 1024, '\0');
    std::copy_n(fileName_.begin(), std::min(fileName_.size(), buffer.size() - 2), buffer.begin());
    const std::string filter = SystemFilter(filter_);
    std::string ext = defaultExt_;
    if (!ext.empty() && ext[0] == '.') ext.erase(0, 1);
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = OwnerWindow();
    ofn.lpstrFilter = filter_.empty() ? nullptr : filter.c_str();
    ofn.nFilterIndex = static_cast<DWORD>(filterIndex_);
    ofn.lpstrFile = buffer.data();
    ofn.nMaxFile = static_cast<DWORD>(buffer.size());
    ofn.lpstrInitialDir = initialDir_.empty() ? nullptr : initialDir_.c_str();
    ofn.lpstrTitle = title_.empty() ? nullptr : title_.c_str();
    ofn.lpstrDefExt = ext.empty() ? nullptr : ext.c_str();
    struct FlagOf {
        TOpenOption option;
        DWORD flag;
    };
    static constexpr FlagOf kFlags[] = {
        {TOpenOption::ofReadOnly, OFN_READONLY},
        {TOpenOption::ofOverwritePrompt, OFN_OVERWRITEPROMPT},
        {TOpenOption::ofHideReadOnly, OFN_HIDEREADONLY},
        {TOpenOption::ofNoChangeDir, OFN_NOCHANGEDIR},
        {TOpenOption::ofShowHelp, OFN_SHOWHELP},
        {TOpenOption::ofNoValidate, OFN_NOVALIDATE},
        {TOpenOption::ofAllowMultiSelect, OFN_ALLOWMULTISELECT},
        {TOpenOption::ofExtensionDifferent, OFN_EXTENSIONDIFFERENT},
        {TOpenOption::ofPathMustExist, OFN_PATHMUSTEXIST},
        {TOpenOption::ofFileMustExist, OFN_FILEMUSTEXIST},
        {TOpenOption::ofCreatePrompt, OFN_CREATEPROMPT},
        {TOpenOption::ofShareAware, OFN_SHAREAWARE},
        {TOpenOption::ofNoReadOnlyReturn, OFN_NOREADONLYRETURN},
        {TOpenOption::ofNoTestFileCreate, OFN_NOTESTFILECREATE},
        {TOpenOption::ofNoNetworkButton, OFN_NONETWORKBUTTON},
        {TOpenOption::ofNoLongNames, OFN_NOLONGNAMES},
        {TOpenOption::ofNoDereferenceLinks, OFN_NODEREFERENCELINKS},
        {TOpenOption::ofEnableIncludeNotify, OFN_ENABLEINCLUDENOTIFY},
        {TOpenOption::ofEnableSizing, OFN_ENABLESIZING},
    };
    ofn.Flags = options_.Contains(TOpenOption::ofOldStyleDialog) ? 0 : OFN_EXPLORER;
    for (const FlagOf& f : kFlags)
        if (options_.Contains(f.option)) ofn.Flags |= f.flag;

    if (Application) Application->BeginLoop();
    BOOL ok;
    try {
        ok = IsSave() ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn);
    } catch (...) {
        if (Application) Application->EndLoop();
        throw;
    }
    if (Application) Application->EndLoop();
    if (!ok) return false;
    filterIndex_ = static_cast<int>(ofn.nFilterIndex);
    options_.Exclude(TOpenOption::ofReadOnly);
    if (ofn.Flags & OFN_READONLY) options_.Include(TOpenOption::ofReadOnly);
    options_.Exclude(TOpenOption::ofExtensionDifferent);
    if (ofn.Flags & OFN_EXTENSIONDIFFERENT) options_.Include(TOpenOption::ofExtensionDifferent);
    files_->Clear();
    if (options_.Contains(TOpenOption::ofAllowMultiSelect)) {
        for (const std::string& name : SplitSelection(buffer.data())) files_->Add(name);
    } else {
        files_->Add(buffer.data());
    }
    fileName_ = files_->Count() > 0 ? files_->Get(0) : std::string(buffer.data());
    return true;
}

// ---- folder browser ------------------------------------------------------------------------------

namespace {

struct BrowseContext {
    const TBrowseFolderParams* params;
    const TBrowseCallback* callback;
};

int CALLBACK BrowseCallbackProc(HWND window, UINT message, LPARAM param, LPARAM data) {
    FW_CALLBACK_BODY(0, {
        auto* context = reinterpret_cast<BrowseContext*>(data);
        int result = 0;
        if (*context->callback) result = (*context->callback)(window, message, param);
        // The caller sees the browser come up before the first selection change.
        if (message == BFFM_INITIALIZED && !context->params->InitialDir.empty())
            SelectBrowserFolder(window, context->params->InitialDir);
        return result;
    })
}

BrowseSeam g_browse = nullptr;

}  // namespace

void SelectBrowserFolder(HWND browser, const std::string& path) {
    for (std::string folder = ExcludeTrailingBackslash(path); !folder.empty();) {
        WIN32_FIND_DATAA data;
        const HANDLE find = FindFirstFileA((IncludeTrailingBackslash(folder) + "*").c_str(), &data);
        if (find != INVALID_HANDLE_VALUE) ::FindClose(find);
        const std::string parent = ExtractFileDir(folder);
        if (parent == folder || parent.size() >= folder.size()) break;
        folder = parent;
    }
    SendMessageA(browser, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(path.c_str()));
}

BrowseSeam SetBrowseSeam(BrowseSeam seam) {
    BrowseSeam previous = g_browse;
    g_browse = seam;
    return previous;
}

bool BrowseForFolder(TBrowseFolderParams& params, std::string& folder, const TBrowseCallback& callback) {
    std::string answer;
    if (automation::TakeQueuedAnswer("folder", answer, params.Title, params.InitialDir)) {
        if (answer.empty() || answer == kCancelAnswer) return false;
        folder = answer;
        return true;
    }
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    char displayName[MAX_PATH] = {};
    BrowseContext context{&params, &callback};
    BROWSEINFOA info{};
    info.hwndOwner = params.Owner ? params.Owner : DialogOwner();
    info.pidlRoot = params.Root;
    info.pszDisplayName = displayName;
    info.lpszTitle = params.Title.c_str();
    info.ulFlags = params.Flags;
    info.lpfn = &BrowseCallbackProc;
    info.lParam = reinterpret_cast<LPARAM>(&context);
    if (Application) Application->BeginLoop();
    LPITEMIDLIST chosen = g_browse ? g_browse(&info) : SHBrowseForFolderA(&info);
    if (Application) Application->EndLoop();
    bool ok = false;
    if (chosen) {
        char path[MAX_PATH] = {};
        ok = SHGetPathFromIDListA(chosen, path) != FALSE;
        if (ok) folder = path;
        params.DisplayName = displayName;
        params.Image = info.iImage;
        CoTaskMemFree(chosen);
    }
    if (SUCCEEDED(com)) CoUninitialize();
    return ok;
}

bool SelectDirectory(const std::string& caption, const std::string& root, std::string& directory,
                     TSelectDirOpts options) {
    LPITEMIDLIST rootList = nullptr;
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (!root.empty()) {
        std::wstring wide(root.size() + 1, L'\0');
        MultiByteToWideChar(CP_ACP, 0, root.c_str(), -1, wide.data(), static_cast<int>(wide.size()));
        if (FAILED(SHParseDisplayName(wide.c_str(), nullptr, &rootList, 0, nullptr))) rootList = nullptr;
    }
    TBrowseFolderParams params;
    params.Title = caption;
    params.Root = rootList;
    params.InitialDir = directory;
    params.Flags = BIF_RETURNONLYFSDIRS | (options.Contains(TSelectDirOpt::sdAllowCreate) ? BIF_NEWDIALOGSTYLE : BIF_NONEWFOLDERBUTTON);
    std::string chosen;
    bool ok;
    try {
        ok = BrowseForFolder(params, chosen, {});
    } catch (...) {
        if (rootList) CoTaskMemFree(rootList);
        if (SUCCEEDED(com)) CoUninitialize();
        throw;
    }
    if (rootList) CoTaskMemFree(rootList);
    if (SUCCEEDED(com)) CoUninitialize();
    if (!ok) return false;
    if (!DirectoryExists(chosen) && options.Contains(TSelectDirOpt::sdAllowCreate) &&
        options.Contains(TSelectDirOpt::sdPerformCreate)) {
        if (options.Contains(TSelectDirOpt::sdPrompt) &&
            MessageDlg("The " + chosen + " directory does not exist. Create it?", mtConfirmation,
                       TMsgDlgButtons{mbYes, mbNo}, 0) != mrYes)
            return false;
        if (!ForceDirectories(chosen)) return false;
    }
    directory = chosen;
    return true;
}

void RegisterDialogClasses() {
    RegisterClasses();
    RegisterEnum<TOpenOption>({"ofReadOnly", "ofOverwritePrompt", "ofHideReadOnly", "ofNoChangeDir", "ofShowHelp",
                               "ofNoValidate", "ofAllowMultiSelect", "ofExtensionDifferent", "ofPathMustExist",
                               "ofFileMustExist", "ofCreatePrompt", "ofShareAware", "ofNoReadOnlyReturn",
                               "ofNoTestFileCreate", "ofNoNetworkButton", "ofNoLongNames", "ofOldStyleDialog",
                               "ofNoDereferenceLinks", "ofEnableIncludeNotify", "ofEnableSizing"},
                              "TOpenOption");
    Class<TCommonDialog, TComponent>("TCommonDialog")
        .Prop("HelpContext", &TCommonDialog::HelpContext, &TCommonDialog::SetHelpContext)
        .Prop("Ctl3D", &TCommonDialog::Ctl3D, &TCommonDialog::SetCtl3D);
    Class<TOpenDialog, TCommonDialog>("TOpenDialog")
        .Prop("DefaultExt", &TOpenDialog::DefaultExt, &TOpenDialog::SetDefaultExt)
        .Prop("FileName", &TOpenDialog::FileName, &TOpenDialog::SetFileName)
        .Prop("Filter", &TOpenDialog::Filter, &TOpenDialog::SetFilter)
        .Prop("FilterIndex", &TOpenDialog::FilterIndex, &TOpenDialog::SetFilterIndex)
        .Prop("InitialDir", &TOpenDialog::InitialDir, &TOpenDialog::SetInitialDir)
        .Prop("Options", &TOpenDialog::Options, &TOpenDialog::SetOptions)
        .Prop("Title", &TOpenDialog::Title, &TOpenDialog::SetTitle);
    Class<TSaveDialog, TOpenDialog>("TSaveDialog");
}

}  // namespace fw
