// TZrtRTFWriter: writes a document, or a range of it, as RTF that TZrtRtfReader reads back.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "richtext/text_writer.h"

namespace rt {

class TZrtRTFWriter : public TZrtTextWriter {
public:
    void Reset() override;
    int WriteHeader(fw::TStream* stream) override;
    int WriteBody(fw::TStream* stream) override;
    int WriteClosing(fw::TStream* stream) override;
    void WriteRunHeader() override;
    int WriteChars(int count) override;
    int WriteLineBreak() override;
    int WriteParagraphEnd() override;
    void WriteParagraphStart() override;
    void WriteObject(int number) override;
    void WriteFootnote(int number) override;

private:
    enum GroupKind { gkDocument = 0, gkTabs = 1, gkTableRow = 2, gkBorder = 3 };
    struct Snapshot {
        uint16_t borders = 0;
        uint8_t borderWidth = 0, colorsLR = 0, colorsTB = 0, borderSpace = 0;
        uint8_t width = 0, start = 0;
        int16_t spaceBefore = 0, lineSpacing = 0;
        uint8_t shading = 0, shadingPercent = 0;
        uint64_t tabs = 0;
        bool cell = false;
        bool operator==(const Snapshot&) const = default;
    };
    struct Group {
        GroupKind kind;
        Snapshot snap;
        bool tableCells = false;
    };

    Snapshot SnapshotOf(TParagraph* p);
    void CloseGroupsThrough(GroupKind kind);
    bool RowMatches(TParagraph* first);
    std::string TabList(TParagraph* p) const;
    std::string Escaped(const std::string& s) const;
    void WriteBookmarkEnd();

    std::vector<Group> groups_;
    int tableWidth_ = 0;
    std::vector<Snapshot> rowCells_;
    bool numberStyleWritten_ = false;
    bool raw_ = false;
    bool fieldOpen_ = false;
    bool unnamedIp_ = false;
    bool hiddenWritten_ = false;
    bool shadingOpen_ = false;
    std::string bookmarkName_;
};

}  // namespace rt
