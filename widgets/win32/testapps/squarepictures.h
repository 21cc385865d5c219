// Plain coloured squares as a picture list, for the sample programs' picture controls.
#pragma once

#include <initializer_list>

#include "framework/win32/graphics.h"
#include "widgets/win32/bitmaplist.h"

namespace kvx::win32 {

struct TSquarePicture {
    int size;
    fw::TColor color;
};

inline TKVXBitmapList* MakeSquarePictures(fw::TComponent* owner, std::initializer_list<TSquarePicture> squares) {
    auto* list = fw::Make<TKVXBitmapList>(owner);
    for (const TSquarePicture& s : squares) {
        fw::TBitmap picture;
        picture.SetSize(s.size, s.size);
        picture.Canvas()->Brush()->SetColor(s.color);
        picture.Canvas()->FillRect(fw::Rect(0, 0, s.size, s.size));
        list->Item(list->AddItem())->SetBitmap(&picture);
    }
    return list;
}

}  // namespace kvx::win32
