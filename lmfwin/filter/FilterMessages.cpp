#include "lmfwin/filter/FilterMessages.h"

#include <algorithm>
#include <atomic>
#include <iterator>

namespace lm {

namespace {

struct Message {
    int id;
    const char* text;
    const char* english = nullptr; // the program's own messages only
};

std::atomic<MessageLanguage> gLanguage{MessageLanguage::Russian};

// Sorted by number.
constexpr Message kMessages[] = {
    {799, "Внутренняя ошибка программы"},
    {800, "Ошибка ввода MPT или LOCKOUT"},
    {801, "Ошибка ввода параметров Вперед или Назад"},
    {802, "MPT не может быть больше LOCKOUT"},
    {803, "Пустая запись"},
    {804, "Запись фильтра содержит пустые поля"},
    {805, "Неверный тип фильтра или знака"},
    {806, "Минимальный предел больше максимального"},
    {807, "Ошибка преобразования"},
    {808, "Неизвестный тип фильтра"},
    {809, "Ошибка открытия файла данных"},
    {810, "Неизвестный тип файла"},
    {811, "Для выполнения фильтрации выберите\n одну из соответствующих закладок"},
    {812, "Неверная область действия выражения"},
    {813, "Отсутствует главное выражение фильтрации "},
    {814, "Не задан ИСХОДНЫЙ файл"},
    {815, "Исходный файл отсутствует на диске"},
    {816, "Файл не может быть фильтрован"},
    {818, "Фильтрация прервана пользователем"},
    {kMsgInactiveWindow, "Главное выражение фильтрации ссылается на пустое окно ",
     "The main filter expression names an empty window "},
    {kMsgOperandMissing, "В главном выражении фильтрации операции не хватает операнда",
     "An operation of the main filter expression lacks an operand"},
    {kMsgUnclosedGroup, "В главном выражении фильтрации не закрыта скобка",
     "A bracket of the main filter expression is not closed"},
    {kMsgExpressionTooLong, "Слишком длинное выражение фильтрации", "The filter expression is too long"},
    {kMsgBackupMove, "Не удалось переименовать исходный файл в резервный (.BAK).\nИсходный файл не изменен",
     "The source file cannot be given its backup name (.BAK).\nThe source file is not changed"},
    {kMsgPostFileWrite, "Ошибка записи результирующего файла", "The post file cannot be written"},
    {kMsgNoReportFolder, "Не задана папка общего файла протокола.\nПротокол не записан",
     "No folder is given for the common report file.\nThe protocol is not written"},
    {kMsgProtocolOpen, "Файл протокола не может быть открыт.\nПротокол не записан: ",
     "The protocol file cannot be opened.\nThe protocol is not written: "},
    {kMsgSourceAtBackup, "Исходный файл остался под именем ", "The source file is left under the name "},
    {kMsgBadMpt, "MPT должно быть целым числом микросекунд от 0 до 2147483647",
     "MPT must be a whole number of microseconds from 0 to 2147483647"},
    {kMsgBadLock, "LOCK должно быть целым числом микросекунд от 0 до 2147483647",
     "LOCK must be a whole number of microseconds from 0 to 2147483647"},
    {kMsgBadForward, "Вперед должно быть целым числом микросекунд от 0 до 2147483647",
     "Forward must be a whole number of microseconds from 0 to 2147483647"},
    {kMsgBadBack, "Назад должно быть целым числом микросекунд от 0 до 2147483647",
     "Back must be a whole number of microseconds from 0 to 2147483647"},
    {kMsgSourceBusy, "Исходный файл уже фильтруется другим запуском.\nИсходный файл не изменен: ",
     "Another run is filtering the source file.\nThe source file is not changed: "},
    {kMsgBackupExists, "Резервный файл уже существует и не будет заменен.\nИсходный файл не изменен: ",
     "The backup file already exists and is not replaced.\nThe source file is not changed: "},
    {kMsgReplaceBackupQuestion,
     "Резервный файл уже существует:\n%1\nЗаменить его? Прежняя резервная копия будет потеряна.",
     "The backup file already exists:\n%1\nReplace it? The earlier backup will be lost."},
    {kMsgNotRegularFile,
     "Не обычный файл, он не может быть заменен: ", "Not a regular file; it cannot be replaced: "},
    {kMsgSourceNotRegular,
     "Исходный файл не является обычным файлом: ", "The source is not a regular file: "},
    {kMsgDestinationFolderMissing,
     "Папка результирующего файла не существует: ", "The folder of the post file does not exist: "},
    {kMsgDestinationFolderNotWritable, "В папке результирующего файла нельзя создать файл: ",
     "No file can be created in the folder of the post file: "},
    {kMsgUnknownParameter, "Неизвестное имя параметра: ", "Unknown parameter name: "},
    {kMsgReadOnlyFormat, "Файлы системы A-Line ISA только для чтения и не могут быть фильтрованы",
     "A-Line ISA files are read only and cannot be filtered"},
    {1001, "Объединение записей по "},
    {1002, "Тащи ОДИН файл!"},
    {1003, "Тип файла не зарегистрирован"},
    {1004, "В командной строке слишком много параметров"},
    {1005, "Фильтрация успешно завершена."},
    {1007, "Фильтрация завершена.\nЗапись окончания испытания (EndOfData) не обнаружена.\nРекомендуется "
           "проверить исходный файл."},
    {1008, "Имя результирующего файла не задано или совпадает с именем исходного.\nИсходный файл будет "
           "изменен.\nПродолжить?"},
    {1009, "Завершить работу программы?"},
    {1010, "Окно "},
    {1011, "Источник : \t"},
    {1012, "Результат : \t"},
    {1013, "Включающий"},
    {1014, "Исключающий"},
    {1015, "Обработка событий : "},
    {1016, "По импульсам"},
    {1017, "По событиям "},
    {1018, "Фильтрация механических помех "},
    {1019, "(Вперед : "},
    {1020, ", Назад : "},
    {1026, "Выражения фильтрации : "},
    {1027, "Тип фильтра : "},
    {1034, "Results :  "},
    {1035, "Handling"},
    {1036, "Accepted"},
    {1037, "Deleted"},
    {1038, " records"},
    {1040, "Запись "},
    {1041, "Первый импульс : "},
    {1042, "Второй импульс : "},
    {1043, "Третий импульс : "},
    {1044, "Любой импульс  : "},
    {1045, "Файл протокола '"},
    {1046, "' не найден"},
    {1047, "Source file name"},
    {1048, "Destination file name"},
    {1051, "Выбор папки протокола.."},
    {1052, "Фильтр успешно внесен в Базу Данных"},
    {1053, "Фильтр успешно перезаписан"},
    {1054, "Запись фильтра удалена. Попробуйте использовать кнопку 'Добавить'"},
    {1055, "Expression"},
    {1056, "Parameter"},
    {1057, "Parameter Y"},
    {1058, "Parameter X"},
    {1059, "Program's language will be changed at the next launch"},
    {1200, "Ошибка.."},
    {1201, "Резюме.."},
    {1203, "Внимание.."},
    {1204, "Выход.."},
    {2001, "Файл не отсортирован.\nТребуется сортированный файл"},
};

} // namespace

const char* FilterMessage(int id)
{
    const auto it = std::lower_bound(std::begin(kMessages), std::end(kMessages), id,
                                     [](const Message& m, int value) { return m.id < value; });
    if (it == std::end(kMessages) || it->id != id)
        return "";
    if (it->english && gLanguage.load() == MessageLanguage::English)
        return it->english;
    return it->text;
}

void SetFilterMessageLanguage(MessageLanguage language)
{
    gLanguage.store(language);
}

MessageLanguage FilterMessageLanguage()
{
    return gLanguage.load();
}

} // namespace lm
