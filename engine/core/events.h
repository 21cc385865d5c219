// The engine's event types. Sender comes first; reference parameters are the handler's answers.
// Sizes and offsets are 64-bit so that entries past 2 GB report right.
#pragma once

#include <cstdint>
#include <string>

#include "engine/core/routines.h"
#include "framework/core/event.h"

namespace engine {

using fw::TObject;

using TOnRead = fw::Event<void(TObject* Sender, int64_t Offset, int Filenum)>;
using TOnBegin = fw::Event<void(TObject* Sender, const std::string& FN, int RecNum, bool& Extract)>;
using TOnEnd = fw::Event<void(TObject* Sender, const std::string& FN, bool CRC_PASS)>;
using TOnProgress = fw::Event<void(TObject* Sender, uint8_t Progress)>;
using TOnFileExists = fw::Event<void(TObject* Sender, const std::string& FN, TDateTime FileDate, bool& Accept)>;
using TOnGetPassword =
    fw::Event<void(TObject* Sender, const std::string& FN, std::string& Password, bool& TryAgain)>;
using TOnNextVolume = fw::Event<void(TObject* Sender, std::string& Dir, std::string& FN, const std::string& VolumeID,
                                     bool FExists, bool& Cancel)>;
using TOnReplaceFile =
    fw::Event<void(TObject* Sender, const std::string& OldFN, const std::string& FN, TDateTime OldDate,
                   TDateTime NewDate, int64_t OldFileSize, int64_t NewFileSize, int OldAttr, int NewAttr,
                   bool& Replace)>;
using TOnRecurseDir = fw::Event<void(TObject* Sender, const std::string& Directory)>;
using TOnNonWriteableArchive = fw::Event<void(TObject* Sender, const std::string& ArchiveFile, bool& WriteToFile)>;
using TOnError = fw::Event<void(TObject* Sender, const std::string& FN, const std::string& MsgEx,
                                const std::string& VolumeID, int ECode)>;
using TOnElapsedTime = fw::Event<void(TObject* Sender, float ElapsedTime)>;
using TOnTotals = fw::Event<void(TObject* Sender, int NumFiles)>;
using TOnReadFile = fw::Event<void(TObject* Sender, const std::string& Filename)>;
using TOnIntegrityBegin = fw::Event<void(TObject* Sender, const std::string& FN)>;
using TOnIntegrityEnd = fw::Event<void(TObject* Sender, const std::string& FN)>;
using TOnIntegrityStatus = fw::Event<void(TObject* Sender, const std::string& FN, bool PassFail)>;
using TNotifyEvent = fw::TNotifyEvent;

}  // namespace engine
