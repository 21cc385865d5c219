#include "testing/test_env.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace mx::test {
namespace {

std::string FromEnv(const char* name)
{
    const char* v = std::getenv(name);
    if (!v || !*v)
        throw std::runtime_error(std::string("test environment lacks ") + name);
    return HostPath(v);
}

}  // namespace

std::string HostPath(const std::string& unixPath)
{
#ifdef _WIN32
    if (unixPath.empty() || unixPath[0] != '/')
        return unixPath;
    std::string out = "Z:" + unixPath;
    for (char& c : out)
        if (c == '/')
            c = '\\';
    return out;
#else
    return unixPath;
#endif
}

std::string UnixPathOf(const std::string& hostPath)
{
    std::string out = hostPath;
    if (out.size() > 2 && (out[0] == 'Z' || out[0] == 'z') && out[1] == ':') out.erase(0, 2);
    for (char& c : out)
        if (c == '\\')
            c = '/';
    return out;
}

std::string SourceDir() { return FromEnv("MX_SOURCE_DIR"); }
std::string BuildDir() { return FromEnv("MX_BUILD_DIR"); }
std::string FixtureDir() { return SourceDir() + "/testing/fixtures"; }

std::string ScratchDir()
{
    std::string dir = FromEnv("MX_TEST_TMP");
    std::filesystem::create_directories(dir);
    return dir;
}

std::string FreshDir()
{
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = info ? std::string(info->test_suite_name()) + "." + info->name() : "unnamed";
    for (char& c : name)
        if (c == '/')
            c = '_';
    std::filesystem::path dir = std::filesystem::path(ScratchDir()) / name;
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir.string();
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

}  // namespace mx::test
