// Whether one-line captions fit their controls, measured as the system draws them.
#include "framework/win32/caption_check.h"

#include <cstdlib>
#include <exception>
#include <fstream>

#include "framework/core/formtext.h"
#include "framework/core/platform.h"
#include "framework/core/rtti.h"
#include "framework/win32/application.h"
#include "framework/win32/callback.h"
#include "framework/win32/controls.h"
#include "framework/win32/datamodule.h"
#include "framework/win32/forms.h"

namespace fw {

namespace {

// The system's BUTTON class draws a group box's caption this far in from the frame's left end; the
// caption should end as far from the right end.
constexpr int kGroupCaptionIndent = 7;

class ScreenText {
public:
    explicit ScreenText(HFONT font)
        : dc_(GetDC(nullptr)), saved_(SelectObject(dc_, font ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT))) {}
    ~ScreenText() {
        SelectObject(dc_, saved_);
        ReleaseDC(nullptr, dc_);
    }
    ScreenText(const ScreenText&) = delete;
    ScreenText& operator=(const ScreenText&) = delete;

    int Width(const std::string& text, UINT flags) const {
        RECT r{0, 0, 0, 0};
        DrawTextA(dc_, text.c_str(), static_cast<int>(text.size()), &r, flags | DT_CALCRECT | DT_SINGLELINE);
        return r.right - r.left;
    }
    int LineHeight() const {
        TEXTMETRICA tm{};
        GetTextMetricsA(dc_, &tm);
        return tm.tmHeight;
    }
    // A check box or radio button: the box, then half a digit's width before the text.
    int MarkWidth() const {
        SIZE digit{};
        GetTextExtentPoint32A(dc_, "0", 1, &digit);
        return GetSystemMetrics(SM_CXMENUCHECK) + digit.cx / 2;
    }

private:
    HDC dc_;
    HGDIOBJ saved_;
};

std::string ControlPath(TControl* control) {
    TWinControl* parent = control->Parent();
    if (control->IsForm() || !parent) return control->Name();
    if (control->Name().empty()) {
        // Made by its parent (a radio group's buttons): named by its place there.
        int index = 0;
        while (index < parent->ControlCount() && parent->Controls(index) != control) ++index;
        return ControlPath(parent) + "[" + std::to_string(index) + "]";
    }
    // Names are unique within a form: its name and the control's are enough.
    TWinControl* form = GetParentForm(control);
    return (form ? form->Name() : ControlPath(parent)) + "." + control->Name();
}

void MeasureTree(TControl* control, std::vector<TCaptionFit>& fits) {
    TCaptionFit fit;
    if (!control->IsForm() && control->MeasureCaption(fit.needed, fit.room)) {
        fit.control = ControlPath(control);
        fit.caption = control->Caption();
        fits.push_back(std::move(fit));
    }
    if (auto* window = dynamic_cast<TWinControl*>(control))
        for (int i = 0; i < window->ControlCount(); ++i) MeasureTree(window->Controls(i), fits);
}

struct DialogWalk {
    const std::string* name;
    std::vector<TCaptionFit>* fits;
};

BOOL CALLBACK MeasureDialogChild(HWND child, LPARAM param) {
    FW_CALLBACK_BODY(TRUE, {
        auto& walk = *reinterpret_cast<DialogWalk*>(param);
        char className[32] = {};
        GetClassNameA(child, className, sizeof className);
        const bool button = lstrcmpiA(className, "Button") == 0;
        if (!button && lstrcmpiA(className, "Static") != 0) return TRUE;
        char text[512] = {};
        GetWindowTextA(child, text, sizeof text);
        TCaptionFit fit;
        auto font = reinterpret_cast<HFONT>(SendMessageA(child, WM_GETFONT, 0, 0));
        if (MeasureSystemCaption(child, button, font, text, fit.needed, fit.room)) {
            fit.caption = text;
            // Controls without an id (0xFFFF in the template) go by their class.
            const int id = GetDlgCtrlID(child) & 0xFFFF;
            fit.control = *walk.name + "." + (id == 0xFFFF ? std::string(className) : std::to_string(id));
            walk.fits->push_back(std::move(fit));
        }
        return TRUE;
    })
}

// ---- the program's own check of its forms --------------------------------------------------------

BOOL CALLBACK AddResourceName(HMODULE, LPCSTR, LPSTR name, LONG_PTR param) {
    FW_CALLBACK_BODY(FALSE, {
        if (!IS_INTRESOURCE(name)) reinterpret_cast<std::vector<std::string>*>(param)->push_back(name);
        return TRUE;
    })
}

std::vector<std::string> RcDataNames() {
    std::vector<std::string> names;
    EnumResourceNamesA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(10), AddResourceName,  // RT_RCDATA
                       reinterpret_cast<LONG_PTR>(&names));
    return names;
}

// Form text starts, after comment lines, with "object" or "inherited"; other data resources are
// left alone.
bool LooksLikeFormText(const std::string& bytes) {
    size_t i = 0;
    for (;;) {
        i = bytes.find_first_not_of(" \t\r\n", i);
        if (i == std::string::npos) return false;
        if (bytes.compare(i, 2, "//") != 0) break;
        i = bytes.find('\n', i);
    }
    return bytes.compare(i, 7, "object ") == 0 || bytes.compare(i, 10, "inherited ") == 0;
}

struct FormResource {
    std::string name;
    std::string bytes;
    const TClassInfo* cls = nullptr;
};

void CheckFormCaptions(const std::string& reportPath) {
    std::vector<std::string> report;
    bool found = false;
    // Exceptions raised inside window procedures go to the application's handler: record them
    // instead of showing a message box nobody answers.
    struct Recorder {
        std::vector<std::string>* report;
        bool* found;
        void Record(TObject*, Exception& e) {
            report->push_back("error " + e.Message());
            *found = true;
        }
    } recorder{&report, &found};
    Application->OnException.Bind(&recorder, &Recorder::Record);

    std::vector<FormResource> forms, modules;
    for (const std::string& name : RcDataNames()) {
        FormResource res{name, {}, nullptr};
        if (!Res().FindRcData(name, res.bytes) || !LooksLikeFormText(res.bytes)) continue;
        try {
            const FormObject tree = ParseFormText(res.bytes, name);
            res.cls = FindClass(tree.className);
            if (!res.cls || !res.cls->CanCreate())
                throw Exception("class " + tree.className + " is not registered");
        } catch (std::exception& e) {
            report.push_back("error " + name + ": " + e.what());
            found = true;
            continue;
        }
        if (res.cls->InheritsFrom(ClassInfoOf<TForm>()))
            forms.push_back(std::move(res));
        else if (res.cls->InheritsFrom(ClassInfoOf<TDataModule>()))
            modules.push_back(std::move(res));
    }
    for (FormResource& res : modules) {
        try {
            ReadComponentText(res.cls->Create(Application), res.bytes, res.name, false);
        } catch (std::exception& e) {
            report.push_back("error " + std::string(e.what()));
            found = true;
        }
    }
    for (FormResource& res : forms) {
        try {
            auto* form = static_cast<TForm*>(res.cls->Create(Application));
            ReadComponentText(form, res.bytes, res.name, false);
            // Laid out in its window as a user would see it, but never shown.
            form->SetVisible(false);
            form->HandleNeeded();
            const std::vector<TCaptionFit> fits = MeasureCaptions(form);
            report.push_back("checked " + res.name + " (" + res.cls->Name() + "): " + std::to_string(fits.size()) +
                             " captions");
            for (const TCaptionFit& fit : fits) {
                if (!fit.Clipped()) continue;
                report.push_back("clipped " + DescribeCaptionFit(fit));
                found = true;
            }
            form->Free();
        } catch (std::exception& e) {
            report.push_back("error " + std::string(e.what()));
            found = true;
        }
    }
    std::ofstream out(reportPath, std::ios::binary | std::ios::trunc);
    for (const std::string& line : report) out << line << '\n';
    out.close();
    // The program was started only for the check.
    ExitProcess(found || !out ? 1 : 0);
}

}  // namespace

bool TControl::MeasureCaption(int&, int&) { return false; }

int CaptionTextWidth(HFONT font, const std::string& text, unsigned flags) { return ScreenText(font).Width(text, flags); }

bool MeasureSystemCaption(HWND window, bool button, HFONT font, const std::string& text, int& needed, int& room) {
    if (text.empty()) return false;
    const LONG_PTR style = GetWindowLongPtrA(window, GWL_STYLE);
    RECT client{};
    GetClientRect(window, &client);
    const ScreenText screen(font);
    const bool twoLines = client.bottom - client.top >= 2 * screen.LineHeight();
    int beside = 0;
    UINT flags = 0;
    if (button) {
        switch (style & BS_TYPEMASK) {
            case BS_PUSHBUTTON:
            case BS_DEFPUSHBUTTON:
                beside = 2 * GetSystemMetrics(SM_CXEDGE);
                break;
            case BS_CHECKBOX:
            case BS_AUTOCHECKBOX:
            case BS_3STATE:
            case BS_AUTO3STATE:
            case BS_RADIOBUTTON:
            case BS_AUTORADIOBUTTON:
                beside = screen.MarkWidth();
                break;
            case BS_GROUPBOX:
                beside = 2 * kGroupCaptionIndent;
                break;
            default:
                return false;
        }
        if ((style & BS_MULTILINE) && twoLines) return false;
    } else {
        switch (style & SS_TYPEMASK) {
            case SS_LEFT:
            case SS_CENTER:
            case SS_RIGHT:
                if (twoLines) return false;
                break;
            case SS_SIMPLE:
            case SS_LEFTNOWORDWRAP:
                break;
            default:
                return false;
        }
        if (style & SS_ELLIPSISMASK) return false;
        if (style & SS_NOPREFIX) flags |= DT_NOPREFIX;
        flags |= DT_EXPANDTABS;
    }
    needed = screen.Width(text, flags) + beside;
    room = client.right - client.left;
    return true;
}

std::vector<TCaptionFit> MeasureCaptions(TControl* root) {
    std::vector<TCaptionFit> fits;
    MeasureTree(root, fits);
    return fits;
}

std::vector<TCaptionFit> MeasureDialogCaptions(HWND dialog, const std::string& dialogName) {
    std::vector<TCaptionFit> fits;
    DialogWalk walk{&dialogName, &fits};
    EnumChildWindows(dialog, MeasureDialogChild, reinterpret_cast<LPARAM>(&walk));
    return fits;
}

std::string DescribeCaptionFit(const TCaptionFit& fit) {
    return fit.control + " \"" + fit.caption + "\": needs " + std::to_string(fit.needed) + " px, has " +
           std::to_string(fit.room);
}

void CheckFormCaptionsIfAsked() {
    static bool checked = false;
    if (checked) return;
    checked = true;
    const char* report = std::getenv("FW_CAPTION_CHECK");
    if (report && *report && Application) CheckFormCaptions(report);
}

}  // namespace fw
