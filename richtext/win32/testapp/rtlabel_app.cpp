// rtlabel_app: the program the rich-text label script drives. Its form places one label per RTF
// fixture, each with the fixture as its form-data document; the first holds a long hyperlink followed
// by hidden text. Results go to a label the script reads back.
#include <string>
#include <vector>

#include "framework/core/rtti.h"
#include "framework/win32/application.h"
#include "framework/win32/forms.h"
#include "framework/win32/std_label.h"
#include "richtext/win32/rich_label.h"

namespace {

using fw::TObject;

class TfrmRtLabel : public fw::TForm {
public:
    using TForm::TForm;
    rt::TZrtRichTextLabel* lblLink = nullptr;
    rt::TZrtRichTextLabel* lblPandoc = nullptr;
    rt::TZrtRichTextLabel* lblLibreOffice = nullptr;
    rt::TZrtRichTextLabel* lblTable = nullptr;
    rt::TZrtRichTextLabel* lblAbiword = nullptr;
    rt::TZrtRichTextLabel* lblLatex = nullptr;
    rt::TZrtRichTextLabel* lblPygments = nullptr;
    fw::TLabel* lblLast = nullptr;

    void lblLinkHyperLink(TObject*, const std::string& text, const std::string& stamp, int line) {
        lblLast->SetCaption(text + "|" + stamp + "|" + std::to_string(line));
    }

    // Every label laid out and painted from its form data: "<n> labels painted", or what is wrong.
    void CheckLabels(TObject*) {
        int good = 0;
        std::string problems;
        for (rt::TZrtRichTextLabel* label : Labels()) {
            rt::TZrtRTFTextInput* doc = label->Document();
            std::string problem;
            try {
                label->Repaint();
                if (!label->Configured()) problem = "not painted";
                else if (doc->IsEmpty()) problem = "empty";
                else if (doc->DocumentHeight() <= 0) problem = "no height";
            } catch (const std::exception& e) {
                problem = e.what();
            }
            if (problem.empty())
                ++good;
            else
                problems += " " + label->Name() + ": " + problem;
        }
        lblLast->SetCaption(std::to_string(good) + " labels painted" + problems);
    }

    // The mouse rests on, or clicks, the first character of the hyperlink's second line.
    void HoverLink(TObject*) { PostAtLink(false); }
    void ClickLink(TObject*) { PostAtLink(true); }

private:
    std::vector<rt::TZrtRichTextLabel*> Labels() const {
        return {lblLink, lblPandoc, lblLibreOffice, lblTable, lblAbiword, lblLatex, lblPygments};
    }

    void PostAtLink(bool click) {
        rt::TZrtRTFTextInput* doc = lblLink->Document();
        for (rt::TParagraph* p = doc->Body; p; p = p->Next)
            for (rt::TTextLine* l = p->FirstLine; l; l = l->Next) {
                rt::TTextLine* prev = l->Prev;
                const bool continues = prev && prev->Length > 0 && l->Length > 0 && l->HasCells() &&
                                       (prev->Cells[prev->Length - 1].Flags & rt::afHyperlink) &&
                                       (l->Cells[0].Flags & rt::afHyperlink);
                if (!continues) continue;
                const int x = lblLink->Left() + doc->CharX(p, l, 0) + doc->ScrollX + l->Cells[0].Width / 2;
                const int y = lblLink->Top() + l->Top - doc->ScrollY + l->Height / 2;
                const LPARAM at = MAKELPARAM(x, y);
                PostMessageA(Handle(), WM_MOUSEMOVE, 0, at);
                if (click) {
                    PostMessageA(Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
                    PostMessageA(Handle(), WM_LBUTTONUP, 0, at);
                }
                return;
            }
        lblLast->SetCaption("no wrapped hyperlink");
    }
};

void RegisterAppClasses() {
    rt::RegisterRichTextLabelClasses();
    auto&& c = fw::Class<TfrmRtLabel, fw::TForm>("TfrmRtLabel");
    c.Field("lblLink", &TfrmRtLabel::lblLink)
        .Field("lblPandoc", &TfrmRtLabel::lblPandoc)
        .Field("lblLibreOffice", &TfrmRtLabel::lblLibreOffice)
        .Field("lblTable", &TfrmRtLabel::lblTable)
        .Field("lblAbiword", &TfrmRtLabel::lblAbiword)
        .Field("lblLatex", &TfrmRtLabel::lblLatex)
        .Field("lblPygments", &TfrmRtLabel::lblPygments)
        .Field("lblLast", &TfrmRtLabel::lblLast)
        .Method("lblLinkHyperLink", &TfrmRtLabel::lblLinkHyperLink)
        .Method("CheckLabels", &TfrmRtLabel::CheckLabels)
        .Method("HoverLink", &TfrmRtLabel::HoverLink)
        .Method("ClickLink", &TfrmRtLabel::ClickLink);
}

}  // namespace

int main() {
    fw::InitApplication();
    RegisterAppClasses();
    fw::Application->Initialize();
    TfrmRtLabel* frmRtLabel = nullptr;
    fw::Application->CreateForm(frmRtLabel);
    fw::Application->Run();
    fw::DoneApplication();
    return 0;
}
