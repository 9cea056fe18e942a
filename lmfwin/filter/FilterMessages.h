#pragma once

// The numbered messages of the post-filter (mostly Russian, as they ship).

#include <string>

namespace lm {

// Text of a numbered message; an empty text for an unknown number.
const char* FilterMessage(int id);

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

} // namespace lm
