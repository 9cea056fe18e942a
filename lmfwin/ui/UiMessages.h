#pragma once

// The numbered texts the window itself shows (captions, questions, headers). The filter
// engine keeps its own table for the faults and results of a run.

#include <QString>

namespace lmf {

enum UiMessage {
    msgDropOneFile = 1002,
    msgTypeNotRegistered = 1003,
    msgTooManyArguments = 1004,
    msgQuitQuestion = 1009,
    msgProtocolFile = 1045,
    msgNotFound = 1046,
    msgSourceFileName = 1047,
    msgDestinationFileName = 1048,
    msgChooseProtocolFolder = 1051,
    msgFilterInserted = 1052,
    msgFilterOverwritten = 1053,
    msgFilterRowDeleted = 1054,
    msgHeaderExpression = 1055,
    msgHeaderParameter = 1056,
    msgHeaderParameterY = 1057,
    msgHeaderParameterX = 1058,
    msgLanguageNextLaunch = 1059,
    msgCaptionError = 1200,
    msgCaptionSummary = 1201,
    msgCaptionAttention = 1203,
    msgCaptionExit = 1204,
};

// The text of a message number; an unknown number gives an empty text.
QString UiText(int id);

} // namespace lmf
