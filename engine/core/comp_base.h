// TCompBase: the base of every writer. It adds the compression method and its allowed set, the
// source folder, the list of files to add (or stored names to delete), the stored-name rule, the
// add-or-replace decision, the re-listing of a finished archive and the shared writer frame.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "engine/core/run_context.h"
#include "engine/core/zip_common.h"
#include "framework/core/lists.h"
#include "framework/core/streams.h"

namespace engine {

// A new temporary file ("BH" prefix) opened for writing. Its name becomes the running writer's
// FirstTempName when that is empty, else SecondTempName; the run deletes both when it ends.
class TTempFileStream : public fw::TFileStream {
public:
    TTempFileStream();
    ~TTempFileStream() override;

private:
    static std::string NewName();
};

// The new form of an archive while a writer builds it: a file in the archive's own folder, so that it
// never has to be copied from one volume to another, and that takes the archive's place only through
// Commit. Where the system allows, nobody sees it before that and it vanishes when the program dies;
// otherwise it is a "BH????.tmp" file there. Freed without a commit, it is removed.
class TNewArchiveStream : public fw::THandleStream {
public:
    // Raises EFCreateError when the file cannot be made.
    explicit TNewArchiveStream(const std::string& archive);
    ~TNewArchiveStream() override;
    // Forces the data to disk and puts the file in the archive's place in one step; false when that
    // fails (the file is then gone and the archive as it was).
    bool Commit();

private:
    fw::StagedFile staged_;
};

// What the writers keep per stored entry (the objects of their list of stored names).
class TCompObject : public fw::TObject {
public:
    uint32_t DosDate = 0;
    int64_t Size = 0;
    uint32_t Attr = 0;
};

class TCompBase : public TZipCommon {
public:
    explicit TCompBase(fw::TComponent* owner);

    TOnNonWriteableArchive OnNonWriteableArchive;
    TOnRecurseDir OnRecurseDir;
    TOnReplaceFile OnReplaceFile;

    TCompressMethod CompressMethod() const { return compressMethod_; }
    // Stored only when the value is a member of AllowedMethods.
    void SetCompressMethod(TCompressMethod value);
    TCompressMethods AllowedMethods = 0;

    // The folder relative FileSpec lines are taken from; always ends in "\".
    std::string DefaultDir();
    void SetDefaultDir(const std::string& value);

    // The masks or paths to add, or the stored names to delete (published as "FileSpec").
    fw::TStringList* FileSpecList() const { return fileSpecList_; }
    // Empty lines are dropped, the others replaced by their name part; the list takes a copy.
    void SetFileSpecList(fw::TStrings* value);

    int64_t NextHeaderPos = 0;
    std::string Password;
    TSwitch Switch() const { return switch_; }
    void SetSwitch(TSwitch value) { switch_ = value; }
    std::string DefaultExt;
    int ListCount = 0;
    std::string BaseDir;

    fw::TStringList* Passwords() const { return passwords_; }

    // The stored-name rule: CurrentDir + Name unless sdNone, to OEM, then the folder mode.
    bool BuildFileName(const std::string& name) override;

    // The add-or-replace decision for one file (Entries: stored names with TCompObject objects).
    bool MayAddFile(bool skipCheck, fw::TStrings* entries, const std::string& name, int64_t newSize,
                    uint32_t newTime, uint32_t newAttr, bool mayAsk);

    // Reports every entry of the archive through OnRead (nothing without a handler); a stream error
    // is the report 25236.
    void ListArchive();

    // Format hooks of the writers.
    virtual void LoadEntry(const std::string& name) {}
    virtual bool FirstHeader(std::string& name, fw::TStream& stream, bool central);
    virtual bool NextHeader(std::string& name, fw::TStream& stream, bool central) { return false; }
    // The writer's run; false here.
    virtual bool Activate() { return false; }

protected:
    ~TCompBase() override;

    // The shared writer frame for writers that rebuild an archive into a new one: the checks of an
    // empty archive name, swRead, an empty FileSpec, a read-only archive and a delete on a new
    // archive, the new archive's stream beside the old one, OnActivate, the executable prefix, the
    // stopwatch, Body, the commit of the new archive in place of ArchiveFile and the clean-up. Body
    // gets the new stream and the old archive (null for a new one) and returns whether the new
    // archive is complete.
    bool RunWriterFrame(bool trimName, const std::function<bool(fw::TStream& out, fw::TStream* old)>& body,
                        const std::function<void()>& reportAdded);

private:
    bool WriterFrame(bool trimName, const std::function<bool(fw::TStream& out, fw::TStream* old)>& body,
                     const std::function<void()>& reportAdded);

    TCompressMethod compressMethod_ = TCompressMethod::cmStore;
    std::string defaultDir_;
    fw::TStringList* fileSpecList_ = nullptr;
    fw::TStringList* passwords_ = nullptr;
    TSwitch switch_ = TSwitch::swAdd;
};

}  // namespace engine
