// A document and the five character attribute objects streamed through form text, the way a form
// holding the rich-text label writes and reads them ("RtfText.Data", "HyperlinkTextAttr.TextColor").
#include <gtest/gtest.h>

#include "framework/core/formtext.h"
#include "framework/core/rtti.h"
#include "richtext/testdata/rt_test_util.h"

namespace rt {
namespace {

// A component publishing a document and its attribute objects as the label does.
class TDocHolder : public fw::TComponent {
public:
    explicit TDocHolder(fw::TComponent* owner) : fw::TComponent(owner) {}
    TZrtRTFTextIo* RtfText() const { return doc_.get(); }
    void SetRtfText(TZrtRTFTextIo* value) { doc_->Assign(value); }
    TCharacterAttr* InsertPointAttr() const { return &doc_->InsertPointAttr; }
    void SetInsertPointAttr(TCharacterAttr* v) { doc_->InsertPointAttr.Assign(v); }
    TCharacterAttr* AutomaticTextAttr() const { return &doc_->AutomaticTextAttr; }
    void SetAutomaticTextAttr(TCharacterAttr* v) { doc_->AutomaticTextAttr.Assign(v); }
    TCharacterAttr* HyperlinkTextAttr() const { return &doc_->HyperlinkTextAttr; }
    void SetHyperlinkTextAttr(TCharacterAttr* v) { doc_->HyperlinkTextAttr.Assign(v); }
    TCharacterAttr* ProtectedTextAttr() const { return &doc_->ProtectedTextAttr; }
    void SetProtectedTextAttr(TCharacterAttr* v) { doc_->ProtectedTextAttr.Assign(v); }
    TCharacterAttr* BookmarkTextAttr() const { return &doc_->BookmarkTextAttr; }
    void SetBookmarkTextAttr(TCharacterAttr* v) { doc_->BookmarkTextAttr.Assign(v); }

protected:
    ~TDocHolder() override = default;

private:
    std::unique_ptr<TZrtRTFTextIo> doc_ = std::make_unique<TZrtRTFTextIo>();
};

void RegisterHolder() {
    RegisterRichText();
    using H = TDocHolder;
    fw::Class<H, fw::TComponent>("TDocHolder")
        .Prop("RtfText", &H::RtfText, &H::SetRtfText)
        .Prop("InsertPointAttr", &H::InsertPointAttr, &H::SetInsertPointAttr)
        .Prop("AutomaticTextAttr", &H::AutomaticTextAttr, &H::SetAutomaticTextAttr)
        .Prop("HyperlinkTextAttr", &H::HyperlinkTextAttr, &H::SetHyperlinkTextAttr)
        .Prop("ProtectedTextAttr", &H::ProtectedTextAttr, &H::SetProtectedTextAttr)
        .Prop("BookmarkTextAttr", &H::BookmarkTextAttr, &H::SetBookmarkTextAttr);
}

TEST(FormStream, DocumentDataAndAttributeObjects) {
    RegisterHolder();
    auto* holder = fw::Make<TDocHolder>(nullptr);
    holder->SetName("Holder");
    test::LoadString(*holder->RtfText(), "{\\rtf1 see {\\uldb the link}{\\v stamp-1} here}");
    holder->HyperlinkTextAttr()->SetSuperScript(TThreeState::tsFALSE);
    holder->HyperlinkTextAttr()->SetTextColor(0xFF0000);  // clBlue
    holder->BookmarkTextAttr()->SetUnderlineColor(0x008000);
    holder->AutomaticTextAttr()->SetHidden(true);
    holder->ProtectedTextAttr()->SetBold(TThreeState::tsTRUE);
    holder->InsertPointAttr()->SetBackgroundColor(0x00FFFF);
    const std::string text = fw::WriteComponentText(holder);
    for (const char* want : {"RtfText.Data = {", "HyperlinkTextAttr.SuperScript = tsFALSE", "HyperlinkTextAttr.TextColor = clBlue",
                             "BookmarkTextAttr.UnderlineColor = clGreen", "AutomaticTextAttr.Hidden = True",
                             "ProtectedTextAttr.Bold = tsTRUE", "InsertPointAttr.BackgroundColor = clYellow"})
        EXPECT_NE(text.find(want), std::string::npos) << want << "\n" << text;

    auto* back = fw::Make<TDocHolder>(nullptr);
    fw::ReadComponentText(back, text, "Holder");
    EXPECT_EQ(test::BodyText(*back->RtfText()), "see the linkstamp-1 here");
    EXPECT_TRUE(test::CellOf(*back->RtfText(), 'k')->Flags & afHyperlink);
    EXPECT_TRUE(test::CellOf(*back->RtfText(), '-')->Flags & afHidden);
    EXPECT_EQ(back->HyperlinkTextAttr()->SuperScript(), TThreeState::tsFALSE);
    EXPECT_EQ(back->HyperlinkTextAttr()->TextColor(), 0xFF0000u);
    EXPECT_TRUE(back->HyperlinkTextAttr()->UseTextColor());
    EXPECT_EQ(back->BookmarkTextAttr()->UnderlineColor(), 0x008000u);
    EXPECT_TRUE(back->AutomaticTextAttr()->Hidden());
    EXPECT_EQ(back->ProtectedTextAttr()->Bold(), TThreeState::tsTRUE);
    EXPECT_EQ(back->InsertPointAttr()->BackgroundColor(), 0x00FFFFu);
    back->Free();
    holder->Free();
}

TEST(FormStream, HandWrittenFormValues) {
    RegisterHolder();
    auto* holder = fw::Make<TDocHolder>(nullptr);
    fw::ReadComponentText(holder,
                          "object Holder: TDocHolder\n"
                          "  HyperlinkTextAttr.Underline = tsTRUE\n"
                          "  HyperlinkTextAttr.UnderlineColor = clBlue\n"
                          "  HyperlinkTextAttr.UseUnderlineColor = True\n"
                          "  InsertPointAttr.TextColor = clRed\n"
                          "  RtfText.Data = { 7B5C727466312061627D 00000000 }\n"
                          "end\n",
                          "Holder");
    EXPECT_EQ(holder->RtfText()->GetParagraphText(0), "ab");
    EXPECT_EQ(holder->HyperlinkTextAttr()->Underline(), TThreeState::tsTRUE);
    EXPECT_EQ(holder->HyperlinkTextAttr()->UnderlineColor(), 0xFF0000u);
    EXPECT_EQ(holder->InsertPointAttr()->TextColor(), 0x0000FFu);
    holder->Free();
}

}  // namespace
}  // namespace rt
