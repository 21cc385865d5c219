// Path specifiers: small components that turn a symbolic base directory into a real path at install
// time. Every DestDir, ArchiveFile and ObjectLocation of the tree is relative to one; they also describe
// themselves and refuse components that may not use them (IEPathSpecifier).
#pragma once

#include <string>
#include <vector>

#include "framework/core/event.h"
#include "framework/core/object.h"

namespace inst {

using TGetPathEvent = fw::Event<void(fw::TObject* Component, std::string& Path)>;

class TCustomPathSpecifier : public fw::TComponent {
public:
    explicit TCustomPathSpecifier(fw::TComponent* owner);

    TGetPathEvent OnGetPath;

    virtual void Validate(fw::TComponent* component) {}
    virtual std::string Description() { return "Unspecified"; }
    virtual std::string DescriptionFor(fw::TComponent* component) { return Description(); }
    // The base: empty, filled by OnGetPath.
    virtual std::string GetPath(fw::TComponent* component);
    virtual std::string ShortName() { return Description(); }
    virtual std::string ShortNameFor(fw::TComponent* component) { return DescriptionFor(component); }

protected:
    void BeforeDestruction() override;
};

class TPathSpecifier : public TCustomPathSpecifier {
public:
    explicit TPathSpecifier(fw::TComponent* owner) : TCustomPathSpecifier(owner) {}
    std::string Description() override { return description_; }
    const std::string& DescriptionText() const { return description_; }
    void SetDescription(const std::string& v) { description_ = v; }

private:
    std::string description_ = "My cool new path specifier";
};

// One of the standard specifiers; the main form carries one of each.
class TStandardPathSpecifier : public TCustomPathSpecifier {
public:
    TStandardPathSpecifier(fw::TComponent* owner, const char* defaultName);
    const std::string& DefaultName() const { return defaultName_; }
    // The path of the standard folder with trailing backslashes removed; validating classes check the
    // component first.
    std::string GetPath(fw::TComponent* component) override;

protected:
    void BeforeDestruction() override;
    virtual std::string StandardPath(fw::TComponent* component) = 0;

private:
    std::string defaultName_;
};

#define INST_STANDARD_SPECIFIER(Name, Default)                                   \
    class Name : public TStandardPathSpecifier {                                 \
    public:                                                                      \
        explicit Name(fw::TComponent* owner) : TStandardPathSpecifier(owner, Default) {} \
        std::string Description() override;                                     \
        std::string ShortName() override;                                        \
                                                                                 \
    protected:                                                                   \
        std::string StandardPath(fw::TComponent* component) override;           \
    }

INST_STANDARD_SPECIFIER(TpsBDEDLL, "psBDEDLL");
INST_STANDARD_SPECIFIER(TpsCommonFiles, "psCommonFiles");
INST_STANDARD_SPECIFIER(TpsDesktopMenu, "psDesktopMenu");
INST_STANDARD_SPECIFIER(TpsProgramFiles, "psProgramFiles");
INST_STANDARD_SPECIFIER(TpsProgramMenu, "psProgramMenu");
INST_STANDARD_SPECIFIER(TpsStartMenu, "psStartMenu");
INST_STANDARD_SPECIFIER(TpsStartupMenu, "psStartupMenu");
INST_STANDARD_SPECIFIER(TpsSystem, "psSystem");
INST_STANDARD_SPECIFIER(TpsWindow, "psWindow");

class TpsContainerArchiveFile : public TStandardPathSpecifier {
public:
    explicit TpsContainerArchiveFile(fw::TComponent* owner) : TStandardPathSpecifier(owner, "psContainerArchiveFile") {}
    void Validate(fw::TComponent* component) override;
    std::string Description() override { return "Path to the archive file of the container"; }
    std::string ShortName() override { return "Container archive file"; }

protected:
    std::string StandardPath(fw::TComponent* component) override;
};

class TpsContainerDestDir : public TStandardPathSpecifier {
public:
    explicit TpsContainerDestDir(fw::TComponent* owner) : TStandardPathSpecifier(owner, "psContainerDestDir") {}
    void Validate(fw::TComponent* component) override;
    std::string Description() override { return "Path of the group (container)"; }
    std::string DescriptionFor(fw::TComponent* component) override;
    std::string ShortNameFor(fw::TComponent* component) override;

protected:
    std::string StandardPath(fw::TComponent* component) override;

private:
    std::string Describe(fw::TComponent* component, bool full);
};

class TpsInstallSource : public TStandardPathSpecifier {
public:
    explicit TpsInstallSource(fw::TComponent* owner) : TStandardPathSpecifier(owner, "psInstallSource") {}
    void Validate(fw::TComponent* component) override;
    std::string Description() override { return "Path from which the user ran the install"; }
    std::string ShortName() override { return "Install source"; }

protected:
    std::string StandardPath(fw::TComponent* component) override;
};

class TpsMainInstall : public TStandardPathSpecifier {
public:
    explicit TpsMainInstall(fw::TComponent* owner) : TStandardPathSpecifier(owner, "psMainInstall") {}
    void Validate(fw::TComponent* component) override;
    std::string Description() override { return "Main installation directory"; }
    std::string ShortName() override { return "Main install dir"; }

protected:
    std::string StandardPath(fw::TComponent* component) override;
};

class TpsMainArchiveFile : public TStandardPathSpecifier {
public:
    explicit TpsMainArchiveFile(fw::TComponent* owner) : TStandardPathSpecifier(owner, "psMainArchiveFile") {}
    void Validate(fw::TComponent* component) override;
    std::string Description() override { return "Archive containing most or all non-internet installation files"; }
    std::string ShortName() override { return "Main archive"; }
    // Where the user said the next volume is (the new-disk answer).
    const std::string& ArchiveDirectory() const { return archiveDirectory_; }
    void SetArchiveDirectory(const std::string& v) { archiveDirectory_ = v; }

protected:
    std::string StandardPath(fw::TComponent* component) override;

private:
    std::string archiveDirectory_;
};

// What a shell link tells the object-link specifier (links come with the shell-link classes).
class ObjectLinkSource {
public:
    virtual ~ObjectLinkSource() = default;
    virtual fw::TComponent* ObjectLink() const = 0;
};

class TpsObjectLink : public TStandardPathSpecifier {
public:
    explicit TpsObjectLink(fw::TComponent* owner) : TStandardPathSpecifier(owner, "psObjectLink") {}
    void Validate(fw::TComponent* component) override;
    std::string Description() override { return "Path of the file or file group in the ObjectLink property"; }

protected:
    std::string StandardPath(fw::TComponent* component) override;
};

// The global lists: every specifier, and the standard ones.
std::vector<TCustomPathSpecifier*>& PathSpecifierList();
std::vector<TStandardPathSpecifier*>& StandardPathSpecList();

// The first standard specifier of class T; IEPathSpecifier "Could not find the path specifier" when none.
TStandardPathSpecifier* FindStandardSpecifier(const std::type_info& type);
template <class T>
T* FindSpecifier() {
    return static_cast<T*>(FindStandardSpecifier(typeid(T)));
}
// Creates, owned by owner, each of the 14 standard specifiers the global list lacks.
void EnsureStandardSpecifiers(fw::TComponent* owner);

// "%p" (either case) becomes path, "%%" "%", "%x" "x"; a "%" at the end is dropped.
std::string ExpandPathMacro(const std::string& text, const std::string& path);

}  // namespace inst
