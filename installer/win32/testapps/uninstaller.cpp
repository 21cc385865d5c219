// A stand-in for the uninstall program the setup installs: started with the product name as the rest of
// its command line (the "UninstallString" of the product's uninstall key), it removes what the key
// lists and then the key:
//   - every "File"n of "Files", "Files1", ... and "ActiveX" (and the help-file value that points at a
//     listed help file's folder), then each folder that became empty, up to a shell or system folder;
//   - every value listed below "RegistryKeys\RegistryKey"n\"Entries" from its key, then each key that
//     became empty, up to the first level below the root.
// Itself it cannot delete while it runs: a batch file in the temporary folder does that once it has
// ended, and removes its folders and itself.
#ifndef _WIN32_WINNT
#define _WIN32_WINNT 0x0601
#endif
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr const char* kUninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
constexpr const char* kHelpKey = "SOFTWARE\\Microsoft\\Windows\\Help";

std::string Upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

std::string DirOf(const std::string& path) {
    const size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string NameOf(const std::string& path) { return path.substr(path.find_last_of('\\') + 1); }

std::string ReadString(HKEY root, const std::string& key, const std::string& name) {
    char data[2048] = {};
    DWORD size = sizeof data - 1, type = 0;
    HKEY h;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return std::string();
    const LONG r = RegQueryValueExA(h, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(h);
    if (r != ERROR_SUCCESS) return std::string();
    if (type == REG_DWORD) return std::to_string(*reinterpret_cast<DWORD*>(data));
    return std::string(data);
}

std::vector<std::string> ValueNames(HKEY root, const std::string& key) {
    std::vector<std::string> names;
    HKEY h;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return names;
    char name[512];
    for (DWORD i = 0;; ++i) {
        DWORD size = sizeof name;
        if (RegEnumValueA(h, i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        names.push_back(name);
    }
    RegCloseKey(h);
    return names;
}

std::vector<std::string> SubkeyNames(HKEY root, const std::string& key) {
    std::vector<std::string> names;
    HKEY h;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return names;
    char name[512];
    for (DWORD i = 0;; ++i) {
        DWORD size = sizeof name;
        if (RegEnumKeyExA(h, i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        names.push_back(name);
    }
    RegCloseKey(h);
    return names;
}

bool KeyIsEmpty(HKEY root, const std::string& key) {
    HKEY h;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
    DWORD keys = 0, values = 0;
    RegQueryInfoKeyA(h, nullptr, nullptr, nullptr, &keys, nullptr, nullptr, &values, nullptr, nullptr, nullptr, nullptr);
    RegCloseKey(h);
    return keys == 0 && values == 0;
}

// Deletes the key when empty, then each empty parent, keeping the first level below the root.
void PruneKey(HKEY root, std::string key) {
    while (key.find('\\') != std::string::npos && KeyIsEmpty(root, key)) {
        if (RegDeleteKeyA(root, key.c_str()) != ERROR_SUCCESS) break;
        key = DirOf(key);
    }
}

HKEY RootOf(int ordinal) {
    switch (ordinal) {
        case 0: return HKEY_CLASSES_ROOT;
        case 1: return HKEY_CURRENT_CONFIG;
        case 2: return HKEY_CURRENT_USER;
        case 5: return HKEY_USERS;
        default: return HKEY_LOCAL_MACHINE;
    }
}

// The folders that are never removed: the shell's and the system's.
std::set<std::string> KeptFolders() {
    std::set<std::string> kept;
    const char* shell = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE})
        for (const std::string& name : ValueNames(root, shell)) kept.insert(Upper(ReadString(root, shell, name)));
    for (const char* name : {"ProgramFilesDir", "CommonFilesDir"})
        kept.insert(Upper(ReadString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", name)));
    char dir[MAX_PATH];
    if (GetSystemDirectoryA(dir, MAX_PATH)) kept.insert(Upper(dir));
    if (GetWindowsDirectoryA(dir, MAX_PATH)) kept.insert(Upper(dir));
    return kept;
}

// The folder and its parents up to (not including) a kept folder or a drive's root.
std::vector<std::string> FolderChain(std::string dir, const std::set<std::string>& kept) {
    std::vector<std::string> chain;
    while (dir.size() > 3 && !kept.count(Upper(dir))) {
        chain.push_back(dir);
        dir = DirOf(dir);
    }
    return chain;
}

void RemoveEmptyFolders(const std::string& dir, const std::set<std::string>& kept) {
    for (const std::string& folder : FolderChain(dir, kept))
        if (!RemoveDirectoryA(folder.c_str())) break;
}

void RemoveFile(const std::string& path, std::set<std::string>& folders) {
    DeleteFileA(path.c_str());
    folders.insert(DirOf(path));
    // A help file's registration names its folder.
    const std::string help = Upper(NameOf(path));
    if (Upper(ReadString(HKEY_LOCAL_MACHINE, kHelpKey, help)) == Upper(DirOf(path))) {
        HKEY h;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kHelpKey, 0, KEY_SET_VALUE, &h) == ERROR_SUCCESS) {
            RegDeleteValueA(h, help.c_str());
            RegCloseKey(h);
        }
    }
}

void RemoveListedValues(const std::string& record) {
    const HKEY root = RootOf(std::atoi(ReadString(HKEY_LOCAL_MACHINE, record, "Root").c_str()));
    std::string key = ReadString(HKEY_LOCAL_MACHINE, record, "Key");
    while (!key.empty() && key[0] == '\\') key.erase(0, 1);
    if (key.empty()) return;
    HKEY h;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_SET_VALUE, &h) == ERROR_SUCCESS) {
        for (const std::string& name : ValueNames(HKEY_LOCAL_MACHINE, record + "\\Entries")) RegDeleteValueA(h, name.c_str());
        RegCloseKey(h);
    }
    PruneKey(root, key);
}

// Writes and starts the batch that deletes this program once it has ended.
void RemoveSelfLater(const std::string& self, const std::set<std::string>& kept) {
    char temp[MAX_PATH] = {}, name[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    GetTempFileNameA(temp, "uni", 0, name);
    DeleteFileA(name);
    std::string batch = name;
    batch = batch.substr(0, batch.find_last_of('.')) + ".bat";
    std::string text = "@echo off\r\nset tries=0\r\n:wait\r\ndel /f /q \"" + self + "\" >nul 2>&1\r\n";
    text += "if not exist \"" + self + "\" goto gone\r\nset /a tries=tries+1\r\nif %tries% geq 60 goto gone\r\n";
    text += "ping -n 2 127.0.0.1 >nul 2>&1\r\ngoto wait\r\n:gone\r\n";
    for (const std::string& folder : FolderChain(DirOf(self), kept)) text += "rmdir \"" + folder + "\" >nul 2>&1\r\n";
    text += "del \"%~f0\"\r\n";
    HANDLE f = CreateFileA(batch.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(f, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(f);
    std::string command = "\"" + batch + "\"";
    WinExec(command.c_str(), SW_HIDE);
}

}  // namespace

// fw-lint: entry point
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR args, int) {
    std::string product = args ? args : "";
    while (!product.empty() && product[0] == ' ') product.erase(0, 1);
    if (product.empty()) return 2;
    const std::string key = kUninstallKey + product;
    const std::set<std::string> kept = KeptFolders();
    std::set<std::string> folders;
    const std::vector<std::string> subkeys = SubkeyNames(HKEY_LOCAL_MACHINE, key);
    if (subkeys.empty() && ReadString(HKEY_LOCAL_MACHINE, key, "DisplayName").empty()) return 3;
    for (const std::string& sub : subkeys) {
        const std::string upper = Upper(sub);
        if (upper.rfind("FILES", 0) == 0 || upper == "ACTIVEX") {
            for (const std::string& value : ValueNames(HKEY_LOCAL_MACHINE, key + "\\" + sub)) {
                if (Upper(value).rfind("FILE", 0) != 0) continue;
                std::string path = ReadString(HKEY_LOCAL_MACHINE, key + "\\" + sub, value);
                if (upper == "ACTIVEX") path = path.substr(0, path.find(';'));
                RemoveFile(path, folders);
            }
        } else if (upper == "REGISTRYKEYS") {
            for (const std::string& record : SubkeyNames(HKEY_LOCAL_MACHINE, key + "\\" + sub))
                RemoveListedValues(key + "\\" + sub + "\\" + record);
        }
    }
    for (const std::string& folder : folders) RemoveEmptyFolders(folder, kept);
    PruneKey(HKEY_LOCAL_MACHINE, kHelpKey);
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, key.c_str());
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    RemoveSelfLater(self, kept);
    return 0;
}
