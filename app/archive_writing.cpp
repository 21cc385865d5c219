#include "app/archive_writing.h"

#include <cstdio>

#include "app/text_routines.h"
#include "framework/core/datetime.h"
#include "framework/core/sysutils.h"

namespace app {

using engine::TArcType;
using engine::TCompressMethod;

namespace {

struct MethodTable {
    std::vector<std::string> names;
    std::vector<TCompressMethod> methods;
};

const MethodTable& MethodsOf(TArcType type) {
    static const MethodTable zip{{"Store", "Deflate"}, {TCompressMethod::cmStore, TCompressMethod::cmDeflate}};
    static const MethodTable lha{{"Store", "Freeze"}, {TCompressMethod::cmStore, TCompressMethod::cmFrozen}};
    static const MethodTable bh{{"Store", "Fuse"}, {TCompressMethod::cmStore, TCompressMethod::cmFuse}};
    static const MethodTable cab{{"Store", "MsZip", "Lzx", "Quantum"},
                                 {TCompressMethod::cmStore, TCompressMethod::cmMsZip, TCompressMethod::cmLzx,
                                  TCompressMethod::cmQuantum}};
    static const MethodTable none;
    switch (type) {
        case TArcType::atZip: return zip;
        case TArcType::atLha:
        case TArcType::atLzh: return lha;
        case TArcType::atBh: return bh;
        case TArcType::atCab: return cab;
        default: return none;
    }
}

const NewArchiveType kNewTypes[] = {
    {"Zip", TArcType::atZip, "Zip1", "zip"},
    {"Lha", TArcType::atLha, "Lha1", "lha"},
    {"BlackHole", TArcType::atBh, "BlakHole1", "bh"},
    {"Cabinet", TArcType::atCab, "MakeCAB1", "cab"},
};

std::string Shown(double date, char dateSeparator, char timeSeparator) {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, ms = 0;
    fw::DecodeDate(date, year, month, day);
    fw::DecodeTime(date, hour, minute, second, ms);
    char text[32];
    std::snprintf(text, sizeof text, "%02d%c%02d%c%02d %02d%c%02d", month, dateSeparator, day, dateSeparator,
                  year % 100, hour, timeSeparator, minute);
    return text;
}

}  // namespace

std::string UpdateWriterFor(TArcType type) {
    switch (type) {
        case TArcType::atZip: return "Zip1";
        case TArcType::atLha:
        case TArcType::atLzh: return "Lha1";
        case TArcType::atBh: return "BlakHole1";
        default: return "";
    }
}

std::vector<std::string> MethodNames(TArcType type) { return MethodsOf(type).names; }

TCompressMethod MethodAt(TArcType type, int index) {
    const MethodTable& table = MethodsOf(type);
    if (index < 0 || static_cast<size_t>(index) >= table.methods.size()) return TCompressMethod::cmStore;
    return table.methods[static_cast<size_t>(index)];
}

engine::TSwitch SwitchAt(int index) { return index == 1 ? engine::TSwitch::swMove : engine::TSwitch::swAdd; }

engine::TStoredDirNames StoredDirsAt(int index) {
    switch (index) {
        case 0: return engine::TStoredDirNames::sdNone;
        case 1: return engine::TStoredDirNames::sdAbsolute;
        case 3: return engine::TStoredDirNames::sdRelative;
        default: return engine::TStoredDirNames::sdAbsoluteNoDrv;
    }
}

const NewArchiveType* NewArchiveTypeAt(int index) {
    if (index < 0 || index >= static_cast<int>(std::size(kNewTypes))) return nullptr;
    return &kNewTypes[index];
}

std::string NewArchiveName(const std::string& name, int typeIndex) {
    const NewArchiveType* type = NewArchiveTypeAt(typeIndex);
    if (!type) return name;
    if (fw::UpperCase(fw::ExtractFileExt(name)) == fw::UpperCase(std::string(".") + type->extension)) return name;
    return ReplaceExtension(name, type->extension);
}

std::string ArchiveFilterFor(const std::string& choice) {
    static const struct {
        const char* choice;
        const char* filter;
    } filters[] = {
        {"Zip", "*.zip"}, {"Arc", "*.arc"}, {"Arj", "*.arj"}, {"Blackhole", "*.bh"},  {"Rar", "*.rar"},
        {"Cab", "*.cab"}, {"Lha", "*.lha"}, {"Lzh", "*.lzh"}, {"UUEncoded", "*.UUE;*.ENC;*XXE"},
    };
    for (const auto& f : filters)
        if (choice == f.choice) return f.filter;
    return "*.zip;*.arc;*.arj;*.bh;*.rar;*.cab;*.lha;*.lzh;*.uue";
}

AddPlan PlanAdd(const std::vector<std::string>& names, bool addFolderContents,
                const std::function<bool(const std::string&)>& isFolder,
                const std::function<bool(const std::string&)>& askFolders) {
    AddPlan plan;
    plan.addFolderContents = addFolderContents;
    for (const std::string& name : names) {
        if (name.empty()) continue;
        if (fw::ExtractFileExt(name).empty() && isFolder(name)) {
            if (!plan.addFolderContents && !plan.asked) {
                plan.asked = true;
                plan.addFolderContents = askFolders(name);
            }
            if (plan.addFolderContents) plan.folders.push_back(name);
        } else {
            plan.files.push_back(name);
        }
    }
    return plan;
}

std::string AddFolderQuestion(const std::string& folder) {
    return "Do you wish to add the entire directory \r\n-> " + folder + " <-\r\nto this archive?";
}

std::string ReplaceQuestion(const ReplaceFacts& stored, const ReplaceFacts& incoming, char dateSeparator,
                            char timeSeparator) {
    auto facts = [&](const ReplaceFacts& f) {
        return f.name + "\rSize: " + std::to_string(f.size) + "\rDate: " + Shown(f.date, dateSeparator, timeSeparator) +
               "\rAttr: " + std::to_string(f.attr);
    };
    return "Replace:\r" + facts(stored) + "\r\rWith:\r" + facts(incoming);
}

std::string FoundLinePath(const std::string& line, char delimiter) {
    const size_t first = line.find(delimiter);
    if (first == std::string::npos) return "";
    const size_t second = line.find(delimiter, first + 1);
    std::string folder = line.substr(0, first);
    const std::string name = line.substr(first + 1, second == std::string::npos ? std::string::npos : second - first - 1);
    if (!folder.empty() && folder.back() != '\\') folder += '\\';
    return folder + name;
}

}  // namespace app
