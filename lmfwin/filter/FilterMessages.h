#pragma once

// The numbered messages of the post-filter (mostly Russian, as they ship).

#include <cstdint>
#include <string>

namespace lm {

// Text of a numbered message; an empty text for an unknown number. The shipped messages
// have one text; this program's own messages (819 on) have a Russian and an English one, and
// the language chosen with SetFilterMessageLanguage picks it.
const char* FilterMessage(int id);

enum class MessageLanguage { Russian, English };
// The language of the program's own messages; Russian, as the table ships, until set. Set it
// at start, before any run.
void SetFilterMessageLanguage(MessageLanguage language);
MessageLanguage FilterMessageLanguage();

// Numbers of this program's own messages beyond the shipped table.
inline constexpr int kMsgInactiveWindow = 819; // expression names a window without records
inline constexpr int kMsgOperandMissing = 820; // operator without both operands
inline constexpr int kMsgUnclosedGroup = 821;  // '(' without its ')'
inline constexpr int kMsgExpressionTooLong = 822;
inline constexpr int kMsgBackupMove = 823;     // the source cannot be moved to its backup name
inline constexpr int kMsgPostFileWrite = 824;  // the post file cannot be written completely
inline constexpr int kMsgNoReportFolder = 825; // "Common report file" without a folder
inline constexpr int kMsgProtocolOpen = 826;   // the protocol file cannot be opened
inline constexpr int kMsgSourceAtBackup = 827; // a failed run could not rename the backup back
// A time field that is negative, not whole or beyond its range (each names its field).
inline constexpr int kMsgBadMpt = 828;
inline constexpr int kMsgBadLock = 829;
inline constexpr int kMsgBadForward = 830;
inline constexpr int kMsgBadBack = 831;
inline constexpr int kMsgSourceBusy = 832;               // another run filters the source in place; + path
inline constexpr int kMsgBackupExists = 833;             // the backup name is taken; + path
inline constexpr int kMsgReplaceBackupQuestion = 834;    // may the backup be replaced? %1 = its path
inline constexpr int kMsgNotRegularFile = 835;           // the destination is not a regular file; + path
inline constexpr int kMsgSourceNotRegular = 836;         // the source is not a regular file; + path
inline constexpr int kMsgDestinationFolderMissing = 837; // + folder
inline constexpr int kMsgDestinationFolderNotWritable = 838; // + folder
inline constexpr int kMsgUnknownParameter = 850; // a record names a parameter the table does not know
inline constexpr int kMsgReadOnlyFormat = 851;   // an A-Line ISA source: read only, never filtered

// The largest value of MPT, LOCK, Forward and Back (us): what the database's field holds.
inline constexpr uint32_t kMaxFilterMicroseconds = 2147483647u;

} // namespace lm
