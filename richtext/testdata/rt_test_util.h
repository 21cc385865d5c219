// Helpers of the rich-text tests: loading and writing documents through strings, and the text of a
// document with its paragraphs one per line.
#pragma once

#include <string>

#include "framework/core/streams.h"
#include "richtext/rtf_reader.h"
#include "richtext/rtf_writer.h"
#include "richtext/text_io.h"
#include "richtext/text_reader.h"
#include "richtext/zrt_object.h"

namespace rt::test {

inline void LoadString(TZrtRTFTextIo& doc, const std::string& bytes, const std::string& format = "AUTO") {
    fw::TMemoryStream s;
    s.WriteString(bytes);
    s.SetPosition(0);
    doc.LoadFormat = format;
    doc.LoadFromStream(s);
}

inline std::string SaveString(TZrtRTFTextIo& doc, const std::string& format = "RTF") {
    fw::TMemoryStream s;
    doc.SaveFormat = format;
    doc.SaveToStream(s);
    return std::string(reinterpret_cast<const char*>(s.Memory()), static_cast<size_t>(s.Size()));
}

// The body text, paragraphs joined by '\n'; object placeholders shown as their field text.
inline std::string BodyText(TZrtRTFText& doc, TParagraph* first = nullptr) {
    std::string s;
    for (TParagraph* p = first ? first : doc.Body; p; p = p->Next) {
        for (TTextLine* l = p->FirstLine; l; l = l->Next) {
            for (int i = 0; i < l->Length; ++i) {
                const char c = l->Chars[i];
                if (c == 1 && l->HasCells()) {
                    TObjectRef* ref = doc.FindObjectRef(l->Cells[i].Number);
                    auto* field = ref ? dynamic_cast<TZrtObjectField*>(ref->Object) : nullptr;
                    s += field ? field->GetFieldText(0, 0) : std::string("<object>");
                } else {
                    s += c;
                }
            }
        }
        if (p->Next) s += '\n';
    }
    return s;
}

inline int ParagraphCountOf(TParagraph* p) {
    int n = 0;
    for (; p; p = p->Next) ++n;
    return n;
}

// The first cell of the first occurrence of `ch` in the body.
inline const TAttrCell* CellOf(TZrtRTFText& doc, char ch) {
    for (TParagraph* p = doc.Body; p; p = p->Next)
        for (TTextLine* l = p->FirstLine; l; l = l->Next)
            for (int i = 0; i < l->Length; ++i)
                if (l->Chars[i] == ch && l->HasCells()) return &l->Cells[i];
    return nullptr;
}

}  // namespace rt::test
