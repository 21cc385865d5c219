#include "app/commands.h"

namespace app {

using engine::TArcType;

std::string ExtractorFor(TArcType type) {
    switch (type) {
        case TArcType::atArc: case TArcType::atArcExe: return "UnARC1";
        case TArcType::atArj: case TArcType::atArjExe: return "UnARJ1";
        case TArcType::atBh: case TArcType::atBhExe: return "UnBH1";
        case TArcType::atCab: return "UnCAB1";
        case TArcType::atGZip: return "UnGZIP1";
        case TArcType::atLha: case TArcType::atLhaExe: case TArcType::atLzh: case TArcType::atLzhExe: return "UnLHA1";
        case TArcType::atRar: case TArcType::atRarExe: return "UnRAR1";
        case TArcType::atTar: return "UnTAR1";
        case TArcType::atUue: return "UUDecode1";
        case TArcType::atZip: case TArcType::atZipExe: case TArcType::atZip250: case TArcType::atZip250Exe: return "UnZIP1";
        case TArcType::atZoo: return "UnZOO1";
        default: return std::string();
    }
}

std::string EntryFileSpec(const std::string& folder, const std::string& name) {
    if (folder.empty() || folder.back() == '\\') return folder + name;
    return folder + "\\" + name;
}

OverwriteStep NextOverwriteStep(int lastAnswer, bool confirm) {
    if (lastAnswer == 2) return OverwriteStep::Skip;
    if (lastAnswer == 5 || !confirm) return OverwriteStep::Overwrite;
    return OverwriteStep::Ask;
}

bool AnswerOverwrites(int answer) { return answer != 2 && answer != 7; }

std::string VolumePromptText(const std::string& dir, const std::string& fileName) {
    if (dir.empty() || dir.back() == '\\') return dir + fileName;
    return dir + "\\" + fileName;
}

void SplitVolumeAnswer(const std::string& typed, std::string& dir, std::string& fileName) {
    const size_t slash = typed.find_last_of("\\:");
    dir = slash == std::string::npos ? std::string() : typed.substr(0, slash + 1);
    fileName = slash == std::string::npos ? typed : typed.substr(slash + 1);
}

CommandStates CommandsFor(TArcType type, bool archiveOpen, bool busy) {
    CommandStates s;
    if (busy) return s;
    s.open = true;
    s.fileCommands = archiveOpen;
    s.refresh = archiveOpen;
    s.addDelete = archiveOpen && engine::CanWriteArcType(type) && type != TArcType::atCab;
    s.extract = archiveOpen && engine::CanExtractArcType(type);
    s.verify = true;
    return s;
}

}  // namespace app
