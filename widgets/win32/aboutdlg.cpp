#include "widgets/win32/aboutdlg.h"

#include <algorithm>
#include <cstdint>

#include "framework/win32/application.h"
#include "framework/win32/graphics.h"
#include "framework/win32/std_bevel.h"
#include "framework/win32/std_button.h"
#include "framework/win32/std_image.h"
#include "widgets/kvxapplication.h"
#include "widgets/kvxutils.h"
#include "widgets/win32/bitmapdraw.h"
#include "widgets/win32/formfill.h"
#include "widgets/win32/formstyler.h"
#include "widgets/win32/labels.h"
#include "widgets/win32/sysinfo.h"

#include <shellapi.h>

namespace kvx::win32 {

namespace {

// The shell's box takes texts of at most 255 characters.
constexpr size_t kShellTextMax = 255;
constexpr int kFormWidth = 440;
constexpr int kInfoWidth = 150;

TKVXShellAbout& ShellAboutSeam() {
    static TKVXShellAbout seam;
    return seam;
}

int CallShellAbout(HWND owner, const std::string& title, const std::string& notice, HICON icon) {
    if (ShellAboutSeam()) return ShellAboutSeam()(owner, title, notice, icon);
    return ShellAboutA(owner, title.c_str(), notice.c_str(), icon);
}

// The form and what it owns go when the scope ends, also when an exception passes.
struct FormFree {
    void operator()(fw::TForm* form) const { form->Free(); }
};
using FormHolder = std::unique_ptr<fw::TForm, FormFree>;

// The icon framed for the extended look: the icon at twice its size on button face, a one-pixel
// black frame and a gray shadow of six pixels to the right and below.
void PaintFramedIcon(fw::TIcon* icon, fw::TBitmap* framed) {
    fw::TBitmap plain;
    KVXIconToBitmap(&plain, icon, fw::clBtnFace);
    const int wb = 2 * plain.Width() + 8;
    const int hb = 2 * plain.Height() + 8;
    framed->SetSize(wb, hb);
    fw::TCanvas* c = framed->Canvas();
    c->Brush()->SetStyle(fw::TBrushStyle::bsSolid);
    c->Brush()->SetColor(fw::clBtnFace);
    c->FillRect({0, 0, wb, hb});
    c->Brush()->SetColor(RGB(128, 128, 128));
    c->FillRect({6, hb - 6, wb, hb});
    c->FillRect({wb - 6, 6, wb, hb});
    c->StretchDraw({1, 1, wb - 6, hb - 6}, &plain);
    c->Brush()->SetColor(fw::clBlack);
    c->FrameRect({0, 0, wb - 5, hb - 5});
}

TKVXSimpleLabel* PutLabel(fw::TForm* form, const char* name) {
    auto* label = KVXAddControl<TKVXSimpleLabel>(form, name);
    label->SetFlag(1, true);   // MultiLine
    label->SetFlag(2, false);  // ShowAccelChar
    label->SetCaption("");
    return label;
}

// The built box and the running layout values: the left edge X, the top Y and the label width W.
class AboutForm {
public:
    explicit AboutForm(TKVXAboutDlg& dialog)
        : dialog_(dialog), form_(KVXNewDialogForm(fw::Application, "frmKVXAbout", -11)) {
        fw::TForm* f = form_.get();
        image = KVXAddControl<fw::TImage>(f, "imgIcon");
        image->SetLeft(15);
        image->SetTop(7);
        image->SetStretch(true);
        ok = KVXAddControl<fw::TButton>(f, "btnOk");
        ok->SetModalResult(fw::mrOk);
        ok->SetCaption("OK");
        ok->SetDefault(true);
        ok->SetCancel(true);
        ok->SetTabOrder(0);
        f->SetActiveControl(ok);
        extra = KVXAddControl<fw::TButton>(f, "btnExtra");
        extra->SetTabOrder(1);
        extra->SetVisible(false);
        line = KVXAddControl<fw::TBevel>(f, "bvlLine");
        line->SetShape(fw::TBevelShape::bsTopLine);
        title = PutLabel(f, "lblTitle");
        title->Font()->SetName("Arial");
        title->Font()->SetStyle({fw::TFontStyle::fsBold});
        title->Font3D()->SetStyle(TKVXThreeDStyle::tdSunken);
        title->Font()->SetSize(dialog.AppNameSize);
        version = PutLabel(f, "lblVersion");
        version->Font()->SetStyle({fw::TFontStyle::fsBold});
        description = PutLabel(f, "lblDescription");
        notice = PutLabel(f, "lblNotice");
        infoCaptions = PutLabel(f, "lblInfoCaptions");
        infoValues = PutLabel(f, "lblInfoValues");
        link = PutLabel(f, "lblJump");
        link->Font()->SetColor(fw::clBlue);
        link->Font()->SetStyle({fw::TFontStyle::fsUnderline});
        link->SetJumpMode(TKVXJumpModes::jmInternet);
        KVXAddDialogLook(f, styler, back);
    }

    // Lays the box out for the dialog's texts and icon style.
    void Layout() {
        fw::TForm* f = form_.get();
        LoadIcon();
        f->SetWidth(kFormWidth * f->PixelsPerInch() / 96);
        LayoutHead();
        for (TKVXSimpleLabel* label : {version, description, notice}) label->SetWidth(w_);
        Place(version, dialog_.VersionText(), 4);
        const std::string describe = dialog_.DescriptionText();
        if (describe.empty())
            y_ += 24;
        else
            Place(description, describe, 24);
        Place(notice, dialog_.NoticeText(), 1);
        if (KVXIsBlank(dialog_.Jump)) {
            y_ += 6;
            link->SetVisible(false);
        } else {
            Place(link, dialog_.Jump, 6);
        }
        line->SetBounds(x_, y_, w_, 2);
        y_ += 9;
        LayoutInfo();
        ok->SetBounds(f->ClientWidth() - ok->Width() - 6, y_, ok->Width(), ok->Height());
        extra->SetBounds(ok->Left() - extra->Width() - 6, y_, extra->Width(), extra->Height());
        if (dialog_.ShowHints && dialog_.Hints()->Count() > 0) {
            f->SetShowHint(true);
            ApplyHints();
        }
        f->SetFormClientHeight(ok->Top() + ok->Height() + 6);
    }

    fw::TForm* Form() const { return form_.get(); }

    fw::TImage* image;
    fw::TButton* ok;
    fw::TButton* extra;
    fw::TBevel* line;
    TKVXSimpleLabel *title, *version, *description, *notice, *infoCaptions, *infoValues, *link;
    TKVXFormStyler* styler;
    TKVXBack* back;

private:
    // The application's icon when the dialog has none; the system's when the application has none.
    void LoadIcon() {
        if (dialog_.IconStyle == TKVXAboutIconStyle::isNone) return;
        if (!dialog_.Icon()->Empty()) {
            icon_.Assign(dialog_.Icon());
            return;
        }
        HICON app = fw::Application->Icon();
        icon_.SetHandle(CopyIcon(app ? app : LoadIconA(nullptr, IDI_APPLICATION)));
    }

    void LayoutHead() {
        fw::TForm* f = form_.get();
        switch (dialog_.IconStyle) {
            case TKVXAboutIconStyle::isNone:
                f->SetWidth(340);
                x_ = 10;
                y_ = 10;
                image->SetVisible(false);
                w_ = f->ClientWidth() - 20;
                PlaceTitle(12, 60);
                break;
            case TKVXAboutIconStyle::isStandard:
                image->SetLeft(13);
                image->SetStretch(false);
                image->Picture()->SetIcon(&icon_);
                f->SetWidth(f->Width() - 30);
                x_ = 60;
                y_ = 12;
                w_ = f->ClientWidth() - 70;
                PlaceTitle(12, 66);
                break;
            case TKVXAboutIconStyle::isExtended: {
                fw::TBitmap framed;
                PaintFramedIcon(&icon_, &framed);
                image->Picture()->SetBitmap(&framed);
                image->SetStretch(true);
                x_ = image->Left() + image->Width() + 8;
                y_ = 24;
                w_ = f->ClientWidth() - x_ - 6;
                PlaceTitle(24, image->Top() + image->Height());
                break;
            }
        }
    }

    void PlaceTitle(int top, int minimumBottom) {
        title->SetBounds(x_, top, w_, 0);
        y_ = top;
        Place(title, dialog_.TitleText(), 10);
        y_ = std::max(y_, minimumBottom);
    }

    // Nothing for an empty text. A label wider than the room left of the client's right edge is
    // narrowed to it. The width is set before the text, so that the label measures its height for
    // the lines it really wraps into.
    // Returns the width the label was given (an auto-sized label may then shrink to its text).
    int Place(TKVXSimpleLabel* label, const std::string& text, int gap) {
        if (text.empty()) return 0;
        int width = w_;
        const int room = form_->ClientWidth() - x_ - 6;
        if (form_->ClientWidth() < x_ + w_) width = std::max(room, 0);
        label->SetBounds(x_, y_, width, label->Height());
        label->SetCaption(text);
        if (gap != 0) y_ += label->Height() + gap;
        return width;
    }

    void LayoutInfo() {
        fw::TForm* f = form_.get();
        w_ = kInfoWidth * f->PixelsPerInch() / 96;
        const bool nt = KVXIsNT();
        // The values stand in a second column, one label width to the right.
        x_ += Place(infoCaptions,
                    std::string(texts::SAvailableMemory) + "\r" + (nt ? texts::SPlatformCpu : texts::SSystemResources), 0);
        const int64_t memory = static_cast<int64_t>(KVXMemPhysTotal() / 1024);
        const std::string values =
            nt ? std::to_string(memory) + " KB\r" + std::to_string(KVXProcessorCount()) + "x " + KVXProcessorName() + " " +
                     texts::SOrCompatible
               : std::to_string(memory) + " KB\r" + std::to_string(KVXFreeResources(0)) + "% " + texts::SFree;
        Place(infoValues, values, 0);
        y_ += std::max(infoCaptions->Height(), infoValues->Height()) + 24;
    }

    void ApplyHints() {
        const fw::TStrings* hints = dialog_.Hints();
        fw::TControl* targets[] = {ok, extra, image};
        for (int i = 0; i < 3 && i < hints->Count(); ++i) targets[i]->SetHint(hints->Get(i));
    }

    TKVXAboutDlg& dialog_;
    FormHolder form_;
    fw::TIcon icon_;
    int x_ = 0, y_ = 0, w_ = 0;
};

}  // namespace

void KVXSetShellAbout(TKVXShellAbout about) { ShellAboutSeam() = std::move(about); }

TKVXAboutDlg::TKVXAboutDlg(TComponent* owner) : TKVXBaseDialog(owner), icon_(std::make_unique<fw::TIcon>()) {}

TKVXAboutDlg::~TKVXAboutDlg() = default;

void TKVXAboutDlg::SetIcon(fw::TIcon* value) { icon_->Assign(value); }

std::string TKVXAboutDlg::TitleText() const {
    if (!KVXIsBlank(Appname)) return Appname;
    if (UseResInfo) return KVXVersionInfo(1);
    return fw::Application ? fw::Application->Title() : std::string();
}

std::string TKVXAboutDlg::NoticeText() const {
    if (!Copyright.empty()) return Copyright;
    if (UseResInfo) {
        // A program without a legal notice in its version resource falls through to the default.
        const std::string legal = KVXVersionInfo(3);
        if (!legal.empty()) return "\r" + legal;
    }
    if (UseDefault) return "\rCopyright \xA9 by " + (KVXApplication ? KVXApplication->Company : std::string());
    return {};
}

std::string TKVXAboutDlg::VersionText() const {
    if (!Version.empty()) return Version;
    if (UseResInfo) return "Version " + KVXVersionInfo(2);
    if (UseDefault && KVXApplication) return "Version " + KVXApplication->Version;
    return {};
}

std::string TKVXAboutDlg::DescriptionText() const {
    if (!KVXIsBlank(Description)) return Description;
    if (UseResInfo) return KVXVersionInfo(5);
    return {};
}

bool TKVXAboutDlg::ExecuteAt(fw::TControl* control) {
    return Style == TKVXAboutStyle::bsStandard ? ShowStandard(control) : ShowBuilt(control);
}

bool TKVXAboutDlg::ShowStandard(fw::TControl* control) {
    std::string title = TitleText();
    if (!CaptionTitle.empty()) title = CaptionTitle + "#" + title;
    const std::string notice = NoticeText();
    HWND owner = nullptr;
    if (auto* windowed = dynamic_cast<fw::TWinControl*>(control))
        owner = windowed->Handle();
    else if (control && control->Parent())
        owner = control->Parent()->Handle();
    HICON icon = !icon_->Empty() ? icon_->Handle() : (fw::Application ? fw::Application->Icon() : nullptr);
    return CallShellAbout(owner, title.substr(0, kShellTextMax), notice.substr(0, kShellTextMax), icon) != 0;
}

bool TKVXAboutDlg::ShowBuilt(fw::TControl* control) {
    AboutForm about(*this);
    about.Layout();
    const std::string caption = std::string(texts::SInfo) + (fw::Application ? fw::Application->Title() : "") + "...";
    ShowDialog(about.Form(), control, caption, about.back, about.styler, about.extra);
    return true;
}

}  // namespace kvx::win32
