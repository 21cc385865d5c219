// TShellBrowser: the detail columns, from the folder's details interface or, for folders without
// one (every folder under Wine), four columns of the object's find data.
#include <cstring>

#include "framework/core/datetime.h"
#include "uisupport/shell/shellnames.h"
#include "uisupport/shell/win32/shellbrowser.h"

namespace uis {
namespace {

struct DefaultColumn {
    const char* header;
    fw::TAlignment alignment;
    int width;
};
constexpr DefaultColumn kDefaultColumns[] = {
    {"Name", fw::TAlignment::taLeftJustify, 150},
    {"Size", fw::TAlignment::taRightJustify, 60},
    {"Type", fw::TAlignment::taLeftJustify, 120},
    {"Changed", fw::TAlignment::taLeftJustify, 100},
};
constexpr int kDefaultColumnCount = 4;

IShellDetails* FolderDetails(IShellFolder* folder, HWND owner) {
    IShellDetails* details = nullptr;
    if (FAILED(folder->CreateViewObject(owner, IID_IShellDetails, reinterpret_cast<void**>(&details)))) return nullptr;
    return details;
}

ShellDetailsSource& DetailsSource() {
    static ShellDetailsSource source = &FolderDetails;
    return source;
}

fw::TAlignment AlignmentOfFormat(int format) {
    switch (format & LVCFMT_JUSTIFYMASK) {
        case LVCFMT_RIGHT: return fw::TAlignment::taRightJustify;
        case LVCFMT_CENTER: return fw::TAlignment::taCenter;
        default: return fw::TAlignment::taLeftJustify;
    }
}

std::string ChangedText(const FILETIME& written) {
    if (written.dwHighDateTime == 0) return {};
    FILETIME local{};
    WORD date = 0, time = 0;
    if (!FileTimeToLocalFileTime(&written, &local) || !FileTimeToDosDateTime(&local, &date, &time)) return {};
    try {
        const auto dos = static_cast<int32_t>((static_cast<uint32_t>(date) << 16) | time);
        return fw::FormatDateTime("ddddd t", fw::FileDateToDateTime(dos));
    } catch (const fw::EConvertError&) {
        return {};
    }
}

}  // namespace

void SetShellDetailsSource(ShellDetailsSource source) { DetailsSource() = source ? std::move(source) : &FolderDetails; }

bool TShellBrowser::ObtainDetails() {
    if (details_) return true;
    if (noDetails_ || !shellFolder_) return false;
    details_.Reset(DetailsSource()(shellFolder_.Get(), OwnerWindow()));
    // Asked once per folder: a refusal is not repeated.
    noDetails_ = !details_;
    return !noDetails_;
}

std::string TShellBrowser::DetailText(int column, bool header) {
    if (column == 0 && !header) return DisplayName();
    if (ObtainDetails()) {
        SHELLDETAILS info{};
        LPCITEMIDLIST item = header ? nullptr : objectList_.get();
        if (!header && !item) return {};
        if (SUCCEEDED(details_->GetDetailsOf(item, static_cast<UINT>(column), &info))) return StrRetToString(item, info.str);
        return {};
    }
    if (header) return column >= 0 && column < kDefaultColumnCount ? kDefaultColumns[column].header : std::string();
    return FindDataText(column);
}

std::string TShellBrowser::FindDataText(int column) {
    if (!shellFolder_ || !objectList_ || column < 1 || column >= kDefaultColumnCount) return {};
    WIN32_FIND_DATAA data{};
    if (FAILED(SHGetDataFromIDListA(shellFolder_.Get(), objectList_.get(), SHGDFIL_FINDDATA, &data, sizeof data)))
        return {};
    switch (column) {
        case 1: return KilobyteText(data.nFileSizeLow, fw::FormatSettings.ThousandSeparator);
        case 2: {
            SHFILEINFOA info{};
            if (!SHGetFileInfoA(reinterpret_cast<LPCSTR>(AbsoluteIDList()), 0, &info, sizeof info,
                                SHGFI_PIDL | SHGFI_TYPENAME))
                return {};
            return std::string(info.szTypeName, strnlen(info.szTypeName, sizeof info.szTypeName));
        }
        default: return ChangedText(data.ftLastWriteTime);
    }
}

fw::TAlignment TShellBrowser::ColumnInfo(int column, int& width) {
    if (ObtainDetails()) {
        SHELLDETAILS info{};
        if (SUCCEEDED(details_->GetDetailsOf(nullptr, static_cast<UINT>(column), &info))) {
            if (info.str.uType == STRRET_WSTR) StrRetToString(nullptr, info.str);  // frees the text
            width = info.cxChar * 6;
            return AlignmentOfFormat(info.fmt);
        }
    }
    if (column >= 0 && column < kDefaultColumnCount) {
        width = kDefaultColumns[column].width;
        return kDefaultColumns[column].alignment;
    }
    width = 0;
    return fw::TAlignment::taLeftJustify;
}

}  // namespace uis
