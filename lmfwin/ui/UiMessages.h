#pragma once

// The numbered texts of the program in the user's language. The filter engine keeps its
// message table as it ships (the protocol and lmtool print those texts); the window shows
// every engine text through this table, translated with the program's translation files.

#include <QString>
#include <string>

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

// The text of a message number in the user's language; an unknown number gives an empty text.
QString UiText(int id);

// An engine text (a fault, a question or the result of a run) in the user's language: the
// numbered texts it is built from are replaced by their translations; names, numbers and
// paths in it stay as they are.
QString LocalizeEngineText(const std::string& engineText);
QString LocalizeEngineText(const QString& engineText);

} // namespace lmf
