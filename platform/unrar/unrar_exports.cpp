// The seven entry points of our UnRAR library over RarSession. No exception leaves them.
#include <new>
#include <string>

#include "platform/unrar/rar_session.h"
#include "engine/formats/rar/unrar_api.h"

using unrar::RarSession;

extern "C" {

void* UNRAR_CALL RAROpenArchive(RAROpenArchiveData* data)
{
    if (!data)
        return nullptr;
    try {
        data->CmtSize = 0;
        data->CmtState = 0;  // archive comments are not read
        auto* session = new RarSession;
        data->OpenResult = unsigned(data->ArcName ? session->Open(data->ArcName) : ERAR_EOPEN);
        if (data->OpenResult != ERAR_SUCCESS) {
            delete session;
            return nullptr;
        }
        return session;
    } catch (const std::bad_alloc&) {
        data->OpenResult = ERAR_NO_MEMORY;
    } catch (...) {
        data->OpenResult = ERAR_BAD_ARCHIVE;
    }
    return nullptr;
}

int UNRAR_CALL RARCloseArchive(void* handle)
{
    if (!handle)
        return ERAR_SUCCESS;
    auto* session = static_cast<RarSession*>(handle);
    const int result = session->Close();
    delete session;
    return result;
}

int UNRAR_CALL RARReadHeader(void* handle, RARHeaderData* header)
{
    if (!handle || !header)
        return ERAR_BAD_ARCHIVE;
    try {
        return static_cast<RarSession*>(handle)->ReadHeader(*header);
    } catch (const std::bad_alloc&) {
        return ERAR_NO_MEMORY;
    } catch (...) {
        return ERAR_BAD_DATA;
    }
}

int UNRAR_CALL RARProcessFile(void* handle, int operation, char* destPath, char* destName)
{
    if (!handle)
        return ERAR_BAD_ARCHIVE;
    try {
        return static_cast<RarSession*>(handle)->ProcessFile(operation, destPath, destName);
    } catch (const std::bad_alloc&) {
        return ERAR_NO_MEMORY;
    } catch (...) {
        return ERAR_BAD_DATA;
    }
}

void UNRAR_CALL RARSetChangeVolProc(void* handle, CHANGEVOLPROC proc)
{
    if (handle)
        static_cast<RarSession*>(handle)->changeVolume = proc;
}

void UNRAR_CALL RARSetProcessDataProc(void* handle, PROCESSDATAPROC proc)
{
    if (handle)
        static_cast<RarSession*>(handle)->processData = proc;
}

void UNRAR_CALL RARSetPassword(void* handle, char* password)
{
    if (handle)
        static_cast<RarSession*>(handle)->SetPassword(password ? password : "");
}

}  // extern "C"
