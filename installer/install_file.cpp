// TCustomInstallFile: construction, unique ids, the property rules and the records.
#include "installer/install_file.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#include "framework/core/filer.h"
#include "framework/core/format.h"
#include "framework/core/streams.h"
#include "framework/core/sysutils.h"
#include "installer/exceptions.h"
#include "installer/file_container.h"
#include "installer/install_root.h"
#include "installer/pathspec.h"
#include "installer/strutils.h"

namespace inst {

namespace {

struct IdTable {
    std::array<bool, TCustomInstallFile::kMaxIds> used{};
    bool initialised = false;
};
IdTable& Ids() {
    static IdTable table;
    return table;
}

template <class T>
void Erase(std::vector<T*>& list, const void* item) {
    list.erase(std::remove(list.begin(), list.end(), item), list.end());
}

std::string UpperExt(const std::string& name) { return fw::UpperCase(fw::ExtractFileExt(name)); }

}  // namespace

int TakeUniqueId() {
    IdTable& t = Ids();
    for (int i = 0; i < TCustomInstallFile::kMaxIds; ++i)
        if (!t.used[static_cast<size_t>(i)]) {
            t.used[static_cast<size_t>(i)] = true;
            return i;
        }
    throw IECustomInstallFile("All %d unique file ids are in use, so no further install file can be created",
                              {TCustomInstallFile::kMaxIds});
}

void ReleaseUniqueId(int id) {
    if (id >= 0 && id < TCustomInstallFile::kMaxIds) Ids().used[static_cast<size_t>(id)] = false;
}

bool UniqueIdUsed(int id) { return id >= 0 && id < TCustomInstallFile::kMaxIds && Ids().used[static_cast<size_t>(id)]; }

void ResetUniqueIds() { Ids() = IdTable(); }

// ---- The file-list record -----------------------------------------------------------------------------------

void FileListRecord::Encode(uint8_t out[kSize]) const {
    if (name.size() >= static_cast<size_t>(kNameField))
        throw IECustomInstallFile("The component name %s is too long for the file list (at most %d characters)",
                                  {name, kNameField - 1});
    if (version.size() >= static_cast<size_t>(kVersionField))
        throw IECustomInstallFile("The file version %s of %s is too long for the file list (at most %d characters)",
                                  {version, name, kVersionField - 1});
    std::memset(out, 0, kSize);
    const auto size = static_cast<uint32_t>(uncompressedSize);
    const auto date = std::bit_cast<uint64_t>(fileDate);
    for (int i = 0; i < 4; ++i) out[i] = static_cast<uint8_t>(size >> (8 * i));
    for (int i = 0; i < 8; ++i) out[4 + i] = static_cast<uint8_t>(date >> (8 * i));
    std::memcpy(out + 12, name.data(), name.size());
    std::memcpy(out + 52, version.data(), version.size());
}

void FileListRecord::Decode(const uint8_t in[kSize]) {
    uint32_t size = 0;
    uint64_t date = 0;
    for (int i = 3; i >= 0; --i) size = size << 8 | in[i];
    for (int i = 7; i >= 0; --i) date = date << 8 | in[4 + i];
    uncompressedSize = static_cast<int32_t>(size);
    fileDate = std::bit_cast<double>(date);
    auto text = [](const uint8_t* p, int field) {
        const auto* c = reinterpret_cast<const char*>(p);
        return std::string(c, strnlen(c, static_cast<size_t>(field)));
    };
    name = text(in + 12, kNameField);
    version = text(in + 52, kVersionField);
}

// ---- Construction ---------------------------------------------------------------------------------------------

TCustomInstallFile::TCustomInstallFile(fw::TComponent* owner) : TFileRelated(owner) {
    uniqueId_ = TakeUniqueId();
    net_ = false;
    AllInstallFiles().push_back(this);
}

TCustomInstallFile::~TCustomInstallFile() {
    // Also reached when a constructor below this one failed.
    Erase(AllInstallFiles(), this);
    Erase(FailedRegistrations(), this);
}

void TCustomInstallFile::BeforeDestruction() {
    ReleaseUniqueId(uniqueId_);
    uniqueId_ = -1;
    Erase(AllInstallFiles(), this);
    Erase(FailedRegistrations(), this);
    TFileRelated::BeforeDestruction();
}

TCustomInstallFile* TCustomInstallFile::CreateFromPath(fw::TComponent* owner, const std::string& path) {
    auto* file = fw::Make<TInstallFile>(owner);
    file->SetIncludeFromDir(fw::ExcludeTrailingBackslash(fw::ExtractFilePath(path)));
    file->SetFileName(fw::ExtractFileName(path));
    return file;
}

TCustomInstallFile* TCustomInstallFile::CreateInContainer(fw::TComponent* owner, TInstallContainer* container,
                                                         const std::string& path) {
    TCustomInstallFile* file = CreateFromPath(owner, path);
    try {
        file->SetContainer(container);
    } catch (...) {
        file->Free();
        throw;
    }
    return file;
}

void TCustomInstallFile::DefineProperties(fw::TFiler& filer) {
    TFileRelated::DefineProperties(filer);
    filer.DefineProperty(
        "UniqueID", [this](fw::TReader& r) { uniqueId_ = r.ReadInteger(); },
        [this](fw::TWriter& w) { w.WriteInteger(uniqueId_); }, true);
}

void TCustomInstallFile::Loaded() {
    TFileRelated::Loaded();
    // The first file that finishes loading forgets the ids taken while the form was read; every
    // loaded file then holds the id the form gave it.
    IdTable& t = Ids();
    if (!t.initialised) {
        t.used.fill(false);
        t.initialised = true;
    }
    if (uniqueId_ < 0 || uniqueId_ >= kMaxIds)
        throw IECustomInstallFile("The UniqueID %d of %s is outside 0..%d", {uniqueId_, Name(), kMaxIds - 1});
    if (t.used[static_cast<size_t>(uniqueId_)])
        throw IECustomInstallFile("The UniqueID %d of %s is used by another file", {uniqueId_, Name()});
    t.used[static_cast<size_t>(uniqueId_)] = true;
}

// ---- Property rules -----------------------------------------------------------------------------------------

struct TCustomInstallFile::Values {
    std::string fileName, destName, includeFromDir, destDir;
    TCustomPathSpecifier* destDirType = nullptr;
    TInstallFileType fileType = TInstallFileType::iftNormal;
    bool activeX = false;
    TInstallContainer* container = nullptr;
};

TCustomInstallFile::Values TCustomInstallFile::Current() const {
    Values v;
    v.fileName = fileName_;
    v.destName = destName_;
    v.includeFromDir = includeFromDir_;
    v.destDir = TInstallContainer::DestDir();
    v.destDirType = TInstallContainer::DestDirType();
    v.fileType = fileType_;
    v.activeX = activeX_;
    v.container = Container();
    return v;
}

void TCustomInstallFile::ApplyRules(const Values& wanted) {
    struct Applying {
        bool& flag;
        explicit Applying(bool& f) : flag(f) { flag = true; }
        ~Applying() { flag = false; }
    } applying(applying_);
    const Values old = Current();
    Values next = wanted;
    if (next.container && !dynamic_cast<TFileContainer*>(next.container))
        throw IECustomInstallFile(
            "The following TInstallFile component %s requires the Container property to be a component descended "
            "from the TFileContainer component",
            {Name()});
    const bool sourceChanged = next.fileName != old.fileName || next.includeFromDir != old.includeFromDir;
    if (next.container && !next.fileName.empty() && (sourceChanged || next.container != old.container)) {
        const std::string path = AddBackslash(next.includeFromDir) + next.fileName;
        TCustomInstallFile* other = static_cast<TFileContainer*>(next.container)->FindFile(path);
        if (other && other != this) throw IEfcDuplicateFile("There is already a file with the name :%s", {path});
    }
    if (next.fileName != old.fileName && !fw::Trim(next.fileName).empty()) next.destName = next.fileName;
    if (sourceChanged) {
        const std::string ext = UpperExt(next.fileName);
        registerAsHelp_ = ext == ".HLP" || ext == ".CNT";
        if (ext == ".OCX") {
            next.activeX = true;
        } else {
            const std::string savedName = fileName_, savedDir = includeFromDir_;
            fileName_ = next.fileName;
            includeFromDir_ = next.includeFromDir;
            bool ole = false;
            try {
                ole = HasOLESelfRegister();
            } catch (const fw::Exception&) {
            }
            fileName_ = savedName;
            includeFromDir_ = savedDir;
            next.activeX = ole;
        }
    }
    if (next.activeX && next.activeX != old.activeX) next.fileType = TInstallFileType::iftSystemWideDLL;
    if (next.destDirType != old.destDirType) {
        const std::string ext = UpperExt(next.fileName);
        if (ext.size() == 4 && (ext == ".DLL" || ext == ".OCX" || ext == ".BLL" || ext == ".EXE")) {
            if (dynamic_cast<TpsWindow*>(next.destDirType) || dynamic_cast<TpsBDEDLL*>(next.destDirType))
                overwriteMode_ = TOverwriteType::owVersionDate;
            else if (dynamic_cast<TpsSystem*>(next.destDirType))
                next.fileType = TInstallFileType::iftSystemWideDLL;
        }
    }
    const bool typeChanged = next.fileType != old.fileType;
    if (typeChanged) {
        switch (next.fileType) {
            case TInstallFileType::iftJustADLL:
            case TInstallFileType::iftApplicationSpecificDLL:
                overwriteMode_ = TOverwriteType::owVersionDate;
                break;
            case TInstallFileType::iftVendorSharedDLL:
            case TInstallFileType::iftSystemWideDLL:
                updateDLLCounter_ = true;
                overwriteMode_ = TOverwriteType::owVersionDate;
                break;
            default:
                break;
        }
    }
    // The container setter moves the file and points it at the container's folder; the values it
    // sets are the ones stored below.
    if (next.container != old.container) {
        TFileRelated::SetContainer(next.container);
        next.destDirType = TInstallContainer::DestDirType();
        next.destDir = TInstallContainer::DestDir();
    }
    if (typeChanged) {
        switch (next.fileType) {
            case TInstallFileType::iftApplicationSpecificDLL:
                next.destDirType = FindSpecifier<TpsMainInstall>();
                next.destDir = "\\System";
                break;
            case TInstallFileType::iftVendorSharedDLL:
                next.destDirType = FindSpecifier<TpsCommonFiles>();
                next.destDir = "\\System";
                break;
            case TInstallFileType::iftSystemWideDLL:
                next.destDirType = FindSpecifier<TpsSystem>();
                next.destDir.clear();
                break;
            default:
                break;
        }
    }
    TInstallContainer::SetDestDirType(next.destDirType);
    TInstallContainer::SetDestDir(next.destDir);
    fileName_ = next.fileName;
    destName_ = next.destName;
    includeFromDir_ = next.includeFromDir;
    fileType_ = next.fileType;
    activeX_ = next.activeX;
}

void TCustomInstallFile::SetFileName(const std::string& v) {
    if (Loading()) {
        fileName_ = v;
        return;
    }
    Values next = Current();
    next.fileName = v;
    ApplyRules(next);
}

void TCustomInstallFile::SetDestName(const std::string& v) {
    if (Loading()) {
        destName_ = v;
        return;
    }
    Values next = Current();
    next.destName = v;
    ApplyRules(next);
}

void TCustomInstallFile::SetIncludeFromDir(const std::string& v) {
    if (Loading()) {
        includeFromDir_ = v;
        return;
    }
    Values next = Current();
    next.includeFromDir = v;
    ApplyRules(next);
}

void TCustomInstallFile::SetDestDir(const std::string& value) {
    if (Loading()) {
        TInstallContainer::SetDestDir(value);
        return;
    }
    Values next = Current();
    next.destDir = value;
    ApplyRules(next);
}

void TCustomInstallFile::SetDestDirType(TCustomPathSpecifier* value) {
    if (Loading()) {
        TInstallContainer::SetDestDirType(value);
        return;
    }
    Values next = Current();
    next.destDirType = value;
    ApplyRules(next);
}

void TCustomInstallFile::SetFileType(TInstallFileType v) {
    if (Loading()) {
        fileType_ = v;
        return;
    }
    Values next = Current();
    next.fileType = v;
    ApplyRules(next);
}

void TCustomInstallFile::SetActiveX(bool v) {
    if (Loading()) {
        activeX_ = v;
        return;
    }
    Values next = Current();
    next.activeX = v;
    ApplyRules(next);
}

void TCustomInstallFile::SetContainer(TInstallContainer* value) {
    if (Loading()) {
        TFileRelated::SetContainer(value);
        return;
    }
    Values next = Current();
    next.container = value;
    ApplyRules(next);
}

// ---- Paths and records ----------------------------------------------------------------------------------------

std::string TCustomInstallFile::DestinationDir() { return fw::Trim(GetDestPath()); }

std::string TCustomInstallFile::DestPath() { return AddBackslash(GetDestPath()) + destName_; }

std::string TCustomInstallFile::SourcePath() const { return AddBackslash(includeFromDir_) + fileName_; }

bool TCustomInstallFile::HasOwnArchive() const {
    return NetLocation() || overwriteMode_ == TOverwriteType::owVersion || overwriteMode_ == TOverwriteType::owDate ||
           overwriteMode_ == TOverwriteType::owVersionDate;
}

void TCustomInstallFile::WriteFileListRecord(fw::TStream& stream) const {
    FileListRecord record;
    record.uncompressedSize = uncompressedSize_;
    record.fileDate = fileDate_;
    record.name = Name();
    record.version = fileVersion_;
    uint8_t bytes[FileListRecord::kSize];
    record.Encode(bytes);
    stream.WriteBuffer(bytes, FileListRecord::kSize);
}

std::string TCustomInstallFile::GetArchivePath() {
    const TDistributeType d = Distribution();
    TInstallRoot* root = InstallComponent();
    const bool installing = state_ == TInstallFileState::ifsInstall || (root && root->Running());
    if (installing && (d == TDistributeType::dtWeb || (d == TDistributeType::dtTraditionalNet && Net()))) {
        if (HasOwnArchive() && IsDownloaded()) {
            std::string local;
            if (fw::Trim(localArchive_).empty() && FindLocalArchive(local)) localArchive_ = local;
            return localArchive_;
        }
        if (auto* files = dynamic_cast<TFileContainer*>(Container()); files && files->IsDownloaded())
            return files->LocalArchivePath();
    }
    return TFileRelated::GetArchivePath();
}

void TCustomInstallFile::SetState(TInstallFileState v) {
    try {
        switch (v) {
            case TInstallFileState::ifsCompress: Compress(); break;
            case TInstallFileState::ifsInstall: Process(); break;
            case TInstallFileState::ifsCopying: Copy(); break;
            default: break;
        }
    } catch (...) {
        state_ = TInstallFileState::ifsNone;
        throw;
    }
    state_ = TInstallFileState::ifsNone;
}

}  // namespace inst
