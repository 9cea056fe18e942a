#include "lmfwin/ui/UiMessages.h"

#include "lmfwin/filter/FilterMessages.h"

#include <QCoreApplication>
#include <algorithm>
#include <vector>

namespace lmf {

namespace {

struct Message {
    int id;
    const char* text; // English; the translation files give the other languages
};

// The English texts of the numbered messages, sorted by number.
constexpr Message kMessages[] = {
    {799, QT_TRANSLATE_NOOP("FilterMessage", "Internal program error")},
    {800, QT_TRANSLATE_NOOP("FilterMessage", "MPT or LOCKOUT is not a valid number")},
    {801, QT_TRANSLATE_NOOP("FilterMessage", "Forward or Back is not a valid number")},
    {802, QT_TRANSLATE_NOOP("FilterMessage", "MPT cannot be greater than LOCKOUT")},
    {803, QT_TRANSLATE_NOOP("FilterMessage", "Empty record")},
    {804, QT_TRANSLATE_NOOP("FilterMessage", "The filter record has empty cells")},
    {805, QT_TRANSLATE_NOOP("FilterMessage", "Invalid filter type or sign")},
    {806, QT_TRANSLATE_NOOP("FilterMessage", "The minimum is greater than the maximum")},
    {807, QT_TRANSLATE_NOOP("FilterMessage", "Not a number")},
    {808, QT_TRANSLATE_NOOP("FilterMessage", "Unknown filter type")},
    {809, QT_TRANSLATE_NOOP("FilterMessage", "The data file cannot be opened")},
    {810, QT_TRANSLATE_NOOP("FilterMessage", "Unknown file type")},
    {811, QT_TRANSLATE_NOOP("FilterMessage", "To filter, choose\n the Filtration page")},
    {812, QT_TRANSLATE_NOOP("FilterMessage", "Invalid scope of the expression")},
    {813, QT_TRANSLATE_NOOP("FilterMessage", "The main filter expression is missing ")},
    {814, QT_TRANSLATE_NOOP("FilterMessage", "No SOURCE file given")},
    {815, QT_TRANSLATE_NOOP("FilterMessage", "The source file is not on the disk")},
    {816, QT_TRANSLATE_NOOP("FilterMessage", "The file cannot be filtered")},
    {818, QT_TRANSLATE_NOOP("FilterMessage", "Filtration cancelled by the user")},
    {lm::kMsgInactiveWindow,
     QT_TRANSLATE_NOOP("FilterMessage", "The main filter expression names an empty window ")},
    {lm::kMsgOperandMissing,
     QT_TRANSLATE_NOOP("FilterMessage", "An operator of the main filter expression lacks an operand")},
    {lm::kMsgUnclosedGroup,
     QT_TRANSLATE_NOOP("FilterMessage", "A parenthesis of the main filter expression is not closed")},
    {lm::kMsgExpressionTooLong, QT_TRANSLATE_NOOP("FilterMessage", "The filter expression is too long")},
    {lm::kMsgBackupMove,
     QT_TRANSLATE_NOOP(
         "FilterMessage",
         "The source file could not be renamed to its backup (.BAK).\nThe source file is unchanged")},
    {lm::kMsgPostFileWrite, QT_TRANSLATE_NOOP("FilterMessage", "Error writing the destination file")},
    {lm::kMsgNoReportFolder,
     QT_TRANSLATE_NOOP("FilterMessage",
                       "No folder is given for the common report file.\nThe report was not written")},
    {lm::kMsgProtocolOpen,
     QT_TRANSLATE_NOOP("FilterMessage", "The report file cannot be opened.\nThe report was not written: ")},
    {lm::kMsgSourceAtBackup, QT_TRANSLATE_NOOP("FilterMessage", "The source file remains under the name ")},
    {lm::kMsgBadMpt,
     QT_TRANSLATE_NOOP("FilterMessage", "MPT must be a whole number of microseconds from 0 to 2147483647")},
    {lm::kMsgBadLock,
     QT_TRANSLATE_NOOP("FilterMessage", "LOCK must be a whole number of microseconds from 0 to 2147483647")},
    {lm::kMsgBadForward,
     QT_TRANSLATE_NOOP("FilterMessage",
                       "Forward must be a whole number of microseconds from 0 to 2147483647")},
    {lm::kMsgBadBack,
     QT_TRANSLATE_NOOP("FilterMessage", "Back must be a whole number of microseconds from 0 to 2147483647")},
    {lm::kMsgSourceBusy,
     QT_TRANSLATE_NOOP("FilterMessage",
                       "Another run is filtering the source file.\nThe source file is not changed: ")},
    {lm::kMsgBackupExists,
     QT_TRANSLATE_NOOP(
         "FilterMessage",
         "The backup file already exists and is not replaced.\nThe source file is not changed: ")},
    {lm::kMsgReplaceBackupQuestion,
     QT_TRANSLATE_NOOP("FilterMessage",
                       "The backup file already exists:\n%1\nReplace it? The earlier backup will be lost.")},
    {lm::kMsgNotRegularFile,
     QT_TRANSLATE_NOOP("FilterMessage", "Not a regular file; it cannot be replaced: ")},
    {lm::kMsgSourceNotRegular, QT_TRANSLATE_NOOP("FilterMessage", "The source is not a regular file: ")},
    {lm::kMsgDestinationFolderMissing,
     QT_TRANSLATE_NOOP("FilterMessage", "The folder of the post file does not exist: ")},
    {lm::kMsgDestinationFolderNotWritable,
     QT_TRANSLATE_NOOP("FilterMessage", "No file can be created in the folder of the post file: ")},
    {lm::kMsgUnknownParameter, QT_TRANSLATE_NOOP("FilterMessage", "Unknown parameter name: ")},
    {lm::kMsgReadOnlyFormat,
     QT_TRANSLATE_NOOP("FilterMessage", "A-Line ISA files are read only and cannot be filtered")},
    {1001, QT_TRANSLATE_NOOP("FilterMessage", "Records joined with ")},
    {1002, QT_TRANSLATE_NOOP("FilterMessage", "Drop ONE file!")},
    {1003, QT_TRANSLATE_NOOP("FilterMessage", "The file type is not registered")},
    {1004, QT_TRANSLATE_NOOP("FilterMessage", "Too many parameters on the command line")},
    {1005, QT_TRANSLATE_NOOP("FilterMessage", "Filtration completed successfully.")},
    {1007, QT_TRANSLATE_NOOP("FilterMessage", "Filtration completed.\nNo end-of-test record (EndOfData) was "
                                              "found.\nPlease check the source file.")},
    {1008, QT_TRANSLATE_NOOP("FilterMessage", "The destination file name is empty or equal to the "
                                              "source's.\nThe source file will be changed.\nContinue?")},
    {1009, QT_TRANSLATE_NOOP("FilterMessage", "Quit the program?")},
    {1010, QT_TRANSLATE_NOOP("FilterMessage", "Window ")},
    {1034, QT_TRANSLATE_NOOP("FilterMessage", "Results :  ")},
    {1035, QT_TRANSLATE_NOOP("FilterMessage", "Handling")},
    {1036, QT_TRANSLATE_NOOP("FilterMessage", "Accepted")},
    {1037, QT_TRANSLATE_NOOP("FilterMessage", "Deleted")},
    {1038, QT_TRANSLATE_NOOP("FilterMessage", " records")},
    {1040, QT_TRANSLATE_NOOP("FilterMessage", "Record ")},
    {1045, QT_TRANSLATE_NOOP("FilterMessage", "Report file '")},
    {1046, QT_TRANSLATE_NOOP("FilterMessage", "' not found")},
    {1047, QT_TRANSLATE_NOOP("FilterMessage", "Source file name")},
    {1048, QT_TRANSLATE_NOOP("FilterMessage", "Destination file name")},
    {1051, QT_TRANSLATE_NOOP("FilterMessage", "Choose the report folder..")},
    {1052, QT_TRANSLATE_NOOP("FilterMessage", "The filter has been added to the database")},
    {1053, QT_TRANSLATE_NOOP("FilterMessage", "The filter has been overwritten")},
    {1055, QT_TRANSLATE_NOOP("FilterMessage", "Expression")},
    {1056, QT_TRANSLATE_NOOP("FilterMessage", "Parameter")},
    {1057, QT_TRANSLATE_NOOP("FilterMessage", "Parameter Y")},
    {1058, QT_TRANSLATE_NOOP("FilterMessage", "Parameter X")},
    {1059, QT_TRANSLATE_NOOP("FilterMessage", "Program's language will be changed at the next launch")},
    {1200, QT_TRANSLATE_NOOP("FilterMessage", "Error..")},
    {1201, QT_TRANSLATE_NOOP("FilterMessage", "Summary..")},
    {1203, QT_TRANSLATE_NOOP("FilterMessage", "Attention..")},
    {1204, QT_TRANSLATE_NOOP("FilterMessage", "Exit..")},
    {2001, QT_TRANSLATE_NOOP("FilterMessage", "The file is not sorted.\nA sorted file is needed")},
};

const char* EnglishText(int id)
{
    const auto it = std::lower_bound(std::begin(kMessages), std::end(kMessages), id,
                                     [](const Message& m, int value) { return m.id < value; });
    return it != std::end(kMessages) && it->id == id ? it->text : nullptr;
}

struct Piece {
    QString engine;
    int id;
    int part = -1; // of a text with a place for a name ("%1"): 0 before it, 1 after it
};

// The engine's numbered texts that the window translates, longest first so that a text
// that begins with a shorter one ("Запись фильтра ..." and "Запись ") is taken whole.
const std::vector<Piece>& EnginePieces()
{
    static const std::vector<Piece> pieces = [] {
        std::vector<Piece> list;
        for (const Message& m : kMessages) {
            const QString engine = QString::fromUtf8(lm::FilterMessage(m.id));
            if (engine.isEmpty())
                continue;
            // A text with a name in it is found by its two parts around the name.
            const QStringList parts = engine.split("%1");
            if (parts.size() == 2) {
                for (int part = 0; part < 2; ++part)
                    if (!parts[part].isEmpty())
                        list.push_back({parts[part], m.id, part});
            } else {
                list.push_back({engine, m.id});
            }
        }
        std::stable_sort(list.begin(), list.end(),
                         [](const Piece& a, const Piece& b) { return a.engine.size() > b.engine.size(); });
        return list;
    }();
    return pieces;
}

} // namespace

QString UiText(int id)
{
    const char* english = EnglishText(id);
    return english ? QCoreApplication::translate("FilterMessage", english) : QString();
}

QString LocalizeEngineText(const QString& engineText)
{
    const std::vector<Piece>& pieces = EnginePieces();
    QString out;
    qsizetype i = 0;
    while (i < engineText.size()) {
        const Piece* found = nullptr;
        for (const Piece& piece : pieces) {
            if (QStringView(engineText).mid(i).startsWith(piece.engine)) {
                found = &piece;
                break;
            }
        }
        if (found) {
            const QString translated = UiText(found->id);
            out += found->part < 0 ? translated : translated.split("%1").value(found->part);
            i += found->engine.size();
        } else {
            out += engineText[i++];
        }
    }
    return out;
}

QString LocalizeEngineText(const std::string& engineText)
{
    return LocalizeEngineText(QString::fromStdString(engineText));
}

} // namespace lmf
