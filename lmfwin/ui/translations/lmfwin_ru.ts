<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru" sourcelanguage="en">
<context>
    <name>FilterMessage</name>
    <message>
        <source>Internal program error</source>
        <translation>Внутренняя ошибка программы</translation>
    </message>
    <message>
        <source>MPT or LOCKOUT is not a valid number</source>
        <translation>Ошибка ввода MPT или LOCKOUT</translation>
    </message>
    <message>
        <source>Forward or Back is not a valid number</source>
        <translation>Ошибка ввода параметров Вперед или Назад</translation>
    </message>
    <message>
        <source>MPT cannot be greater than LOCKOUT</source>
        <translation>MPT не может быть больше LOCKOUT</translation>
    </message>
    <message>
        <source>Empty record</source>
        <translation>Пустая запись</translation>
    </message>
    <message>
        <source>The filter record has empty cells</source>
        <translation>Запись фильтра содержит пустые поля</translation>
    </message>
    <message>
        <source>Invalid filter type or sign</source>
        <translation>Неверный тип фильтра или знака</translation>
    </message>
    <message>
        <source>The minimum is greater than the maximum</source>
        <translation>Минимальный предел больше максимального</translation>
    </message>
    <message>
        <source>Not a number</source>
        <translation>Ошибка преобразования</translation>
    </message>
    <message>
        <source>Unknown filter type</source>
        <translation>Неизвестный тип фильтра</translation>
    </message>
    <message>
        <source>The data file cannot be opened</source>
        <translation>Ошибка открытия файла данных</translation>
    </message>
    <message>
        <source>Unknown file type</source>
        <translation>Неизвестный тип файла</translation>
    </message>
    <message>
        <source>To filter, choose
 the Filtration page</source>
        <translation>Для выполнения фильтрации выберите
 одну из соответствующих закладок</translation>
    </message>
    <message>
        <source>Invalid scope of the expression</source>
        <translation>Неверная область действия выражения</translation>
    </message>
    <message>
        <source>The main filter expression is missing </source>
        <translation>Отсутствует главное выражение фильтрации </translation>
    </message>
    <message>
        <source>No SOURCE file given</source>
        <translation>Не задан ИСХОДНЫЙ файл</translation>
    </message>
    <message>
        <source>The source file is not on the disk</source>
        <translation>Исходный файл отсутствует на диске</translation>
    </message>
    <message>
        <source>The file cannot be filtered</source>
        <translation>Файл не может быть фильтрован</translation>
    </message>
    <message>
        <source>Filtration cancelled by the user</source>
        <translation>Фильтрация прервана пользователем</translation>
    </message>
    <message>
        <source>The main filter expression names an empty window </source>
        <translation>Главное выражение фильтрации ссылается на пустое окно </translation>
    </message>
    <message>
        <source>An operator of the main filter expression lacks an operand</source>
        <translation>В главном выражении фильтрации операции не хватает операнда</translation>
    </message>
    <message>
        <source>A parenthesis of the main filter expression is not closed</source>
        <translation>В главном выражении фильтрации не закрыта скобка</translation>
    </message>
    <message>
        <source>The filter expression is too long</source>
        <translation>Слишком длинное выражение фильтрации</translation>
    </message>
    <message>
        <source>The source file could not be renamed to its backup (.BAK).
The source file is unchanged</source>
        <translation>Не удалось переименовать исходный файл в резервный (.BAK).
Исходный файл не изменен</translation>
    </message>
    <message>
        <source>Error writing the destination file</source>
        <translation>Ошибка записи результирующего файла</translation>
    </message>
    <message>
        <source>No folder is given for the common report file.
The report was not written</source>
        <translation>Не задана папка общего файла протокола.
Протокол не записан</translation>
    </message>
    <message>
        <source>The report file cannot be opened.
The report was not written: </source>
        <translation>Файл протокола не может быть открыт.
Протокол не записан: </translation>
    </message>
    <message>
        <source>The source file remains under the name </source>
        <translation>Исходный файл остался под именем </translation>
    </message>
    <message>
        <source>Unknown parameter name: </source>
        <translation>Неизвестное имя параметра: </translation>
    </message>
    <message>
        <source>A-Line ISA files are read only and cannot be filtered</source>
        <translation>Файлы системы A-Line ISA только для чтения и не могут быть фильтрованы</translation>
    </message>
    <message>
        <source>Records joined with </source>
        <translation>Объединение записей по </translation>
    </message>
    <message>
        <source>Drop ONE file!</source>
        <translation>Тащи ОДИН файл!</translation>
    </message>
    <message>
        <source>The file type is not registered</source>
        <translation>Тип файла не зарегистрирован</translation>
    </message>
    <message>
        <source>Too many parameters on the command line</source>
        <translation>В командной строке слишком много параметров</translation>
    </message>
    <message>
        <source>Filtration completed successfully.</source>
        <translation>Фильтрация успешно завершена.</translation>
    </message>
    <message>
        <source>Filtration completed.
No end-of-test record (EndOfData) was found.
Please check the source file.</source>
        <translation>Фильтрация завершена.
Запись окончания испытания (EndOfData) не обнаружена.
Рекомендуется проверить исходный файл.</translation>
    </message>
    <message>
        <source>The destination file name is empty or equal to the source's.
The source file will be changed.
Continue?</source>
        <translation>Имя результирующего файла не задано или совпадает с именем исходного.
Исходный файл будет изменен.
Продолжить?</translation>
    </message>
    <message>
        <source>Quit the program?</source>
        <translation>Завершить работу программы?</translation>
    </message>
    <message>
        <source>Window </source>
        <translation>Окно </translation>
    </message>
    <message>
        <source>Results :  </source>
        <translation>Результаты :  </translation>
    </message>
    <message>
        <source>Handling</source>
        <translation>Обработано</translation>
    </message>
    <message>
        <source>Accepted</source>
        <translation>Принято</translation>
    </message>
    <message>
        <source>Deleted</source>
        <translation>Удалено</translation>
    </message>
    <message>
        <source> records</source>
        <translation> записей</translation>
    </message>
    <message>
        <source>Record </source>
        <translation>Запись </translation>
    </message>
    <message>
        <source>Report file '</source>
        <translation>Файл протокола '</translation>
    </message>
    <message>
        <source>' not found</source>
        <translation>' не найден</translation>
    </message>
    <message>
        <source>Source file name</source>
        <translation>Имя исходного файла</translation>
    </message>
    <message>
        <source>Destination file name</source>
        <translation>Имя результирующего файла</translation>
    </message>
    <message>
        <source>Choose the report folder..</source>
        <translation>Выбор папки протокола..</translation>
    </message>
    <message>
        <source>The filter has been added to the database</source>
        <translation>Фильтр успешно внесен в Базу Данных</translation>
    </message>
    <message>
        <source>The filter has been overwritten</source>
        <translation>Фильтр успешно перезаписан</translation>
    </message>
    <message>
        <source>Expression</source>
        <translation>Выражение</translation>
    </message>
    <message>
        <source>Parameter</source>
        <translation>Параметр</translation>
    </message>
    <message>
        <source>Parameter Y</source>
        <translation>Параметр Y</translation>
    </message>
    <message>
        <source>Parameter X</source>
        <translation>Параметр X</translation>
    </message>
    <message>
        <source>Program's language will be changed at the next launch</source>
        <translation>Язык программы будет изменен при следующем запуске</translation>
    </message>
    <message>
        <source>Error..</source>
        <translation>Ошибка..</translation>
    </message>
    <message>
        <source>Summary..</source>
        <translation>Резюме..</translation>
    </message>
    <message>
        <source>Attention..</source>
        <translation>Внимание..</translation>
    </message>
    <message>
        <source>Exit..</source>
        <translation>Выход..</translation>
    </message>
    <message>
        <source>The file is not sorted.
A sorted file is needed</source>
        <translation>Файл не отсортирован.
Требуется сортированный файл</translation>
    </message>
    <message>
        <source>MPT must be a whole number of microseconds from 0 to 2147483647</source>
        <translation>MPT должно быть целым числом микросекунд от 0 до 2147483647</translation>
    </message>
    <message>
        <source>LOCK must be a whole number of microseconds from 0 to 2147483647</source>
        <translation>LOCK должно быть целым числом микросекунд от 0 до 2147483647</translation>
    </message>
    <message>
        <source>Forward must be a whole number of microseconds from 0 to 2147483647</source>
        <translation>Вперед должно быть целым числом микросекунд от 0 до 2147483647</translation>
    </message>
    <message>
        <source>Back must be a whole number of microseconds from 0 to 2147483647</source>
        <translation>Назад должно быть целым числом микросекунд от 0 до 2147483647</translation>
    </message>
    <message>
        <source>Another run is filtering the source file.
The source file is not changed: </source>
        <translation>Исходный файл уже фильтруется другим запуском.
Исходный файл не изменен: </translation>
    </message>
    <message>
        <source>The backup file already exists and is not replaced.
The source file is not changed: </source>
        <translation>Резервный файл уже существует и не будет заменен.
Исходный файл не изменен: </translation>
    </message>
    <message>
        <source>The backup file already exists:
%1
Replace it? The earlier backup will be lost.</source>
        <translation>Резервный файл уже существует:
%1
Заменить его? Прежняя резервная копия будет потеряна.</translation>
    </message>
    <message>
        <source>Not a regular file; it cannot be replaced: </source>
        <translation>Не обычный файл, он не может быть заменен: </translation>
    </message>
    <message>
        <source>The source is not a regular file: </source>
        <translation>Исходный файл не является обычным файлом: </translation>
    </message>
    <message>
        <source>The folder of the post file does not exist: </source>
        <translation>Папка результирующего файла не существует: </translation>
    </message>
    <message>
        <source>No file can be created in the folder of the post file: </source>
        <translation>В папке результирующего файла нельзя создать файл: </translation>
    </message>
</context>
<context>
    <name>lmf::TFAbout</name>
    <message>
        <source>About...</source>
        <translation>О программе...</translation>
    </message>
    <message>
        <source>Build : %1</source>
        <translation>Сборка : %1</translation>
    </message>
    <message>
        <source>Memory Used %1</source>
        <translation>Занято памяти %1</translation>
    </message>
</context>
<context>
    <name>lmf::TFFilterBase</name>
    <message>
        <source>Filter Database</source>
        <translation>База данных фильтров</translation>
    </message>
    <message>
        <source>First</source>
        <translation>Первая</translation>
    </message>
    <message>
        <source>Previous</source>
        <translation>Предыдущая</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>Следующая</translation>
    </message>
    <message>
        <source>Last</source>
        <translation>Последняя</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Удалить</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Дата</translation>
    </message>
    <message>
        <source>Filter name</source>
        <translation>Название фильтра</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Отмена</translation>
    </message>
    <message>
        <source>No.</source>
        <translation>№</translation>
    </message>
    <message>
        <source>Delete the filter "%1" (No. %2)?</source>
        <translation>Удалить фильтр "%1" (№ %2)?</translation>
    </message>
</context>
<context>
    <name>lmf::TFProtocolView</name>
    <message>
        <source>Report File View</source>
        <translation>Просмотр файла протокола</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Файл</translation>
    </message>
    <message>
        <source>Save &amp;As...</source>
        <translation>Сохранить &amp;Как...</translation>
    </message>
    <message>
        <source>&amp;Print...</source>
        <translation>&amp;Печать...</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Выход</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Правка</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Копировать</translation>
    </message>
    <message>
        <source>&amp;Find...</source>
        <translation>&amp;Поиск...</translation>
    </message>
    <message>
        <source>Find</source>
        <translation>Поиск</translation>
    </message>
    <message>
        <source>Find &amp;Next</source>
        <translation>Найти &amp;далее</translation>
    </message>
    <message>
        <source>Rich Text Format (*.rtf)</source>
        <translation>Rich Text Format (*.rtf)</translation>
    </message>
    <message>
        <source>ASCII text (*.txt)</source>
        <translation>Текст ASCII (*.txt)</translation>
    </message>
    <message>
        <source>Save the report file as..</source>
        <translation>Сохранить файл протокола как..</translation>
    </message>
    <message>
        <source>The file %1 could not be written</source>
        <translation>Не удалось записать файл %1</translation>
    </message>
</context>
<context>
    <name>lmf::TLookUpParamDlg1</name>
    <message>
        <source>Common parameters</source>
        <translation>Общие параметры</translation>
    </message>
    <message>
        <source>All parameters</source>
        <translation>Все параметры</translation>
    </message>
    <message>
        <source>Parameter Lookup</source>
        <translation>Выбор параметра</translation>
    </message>
    <message>
        <source>&amp;Parameter</source>
        <translation>&amp;Параметр</translation>
    </message>
    <message>
        <source> System </source>
        <translation> Система </translation>
    </message>
</context>
<context>
    <name>lmf::TMainForm</name>
    <message>
        <source>All files (*)</source>
        <translation>Все файлы (*)</translation>
    </message>
    <message>
        <source>A, B, C, D: the windows; &amp; and, | or; parentheses group.
No precedence: left to right, so A|B&amp;C means (A|B)&amp;C.
Every other character is ignored.</source>
        <translation>A, B, C, D: окна; &amp; и, | или; скобки группируют.
Приоритета нет: слева направо, A|B&amp;C означает (A|B)&amp;C.
Все остальные символы пропускаются.</translation>
    </message>
    <message>
        <source> H&amp;ide</source>
        <translation> &amp;Скрыть</translation>
    </message>
    <message>
        <source> &amp;Exit</source>
        <translation> &amp;Выход</translation>
    </message>
    <message>
        <source>Source</source>
        <translation>Источник</translation>
    </message>
    <message>
        <source>Destination</source>
        <translation>Результат</translation>
    </message>
    <message>
        <source>Filter &amp;Name:</source>
        <translation>&amp;Имя фильтра:</translation>
    </message>
    <message>
        <source>New filter</source>
        <translation>Новый фильтр</translation>
    </message>
    <message>
        <source>All hits</source>
        <translation>Все импульсы</translation>
    </message>
    <message>
        <source>Second hit</source>
        <translation>Второй импульс</translation>
    </message>
    <message>
        <source>Third hit</source>
        <translation>Третий импульс</translation>
    </message>
    <message>
        <source>Any hit</source>
        <translation>Любой импульс</translation>
    </message>
    <message>
        <source>&amp;Start</source>
        <translation>&amp;Пуск</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Отмена</translation>
    </message>
    <message>
        <source>&amp;A</source>
        <translation>&amp;A</translation>
    </message>
    <message>
        <source>&amp;B</source>
        <translation>&amp;B</translation>
    </message>
    <message>
        <source>&amp;C</source>
        <translation>&amp;C</translation>
    </message>
    <message>
        <source>&amp;D (Correlation)</source>
        <translation>&amp;D (Корреляция)</translation>
    </message>
    <message>
        <source>Join with "AND"</source>
        <translation>Объединить по "И"</translation>
    </message>
    <message>
        <source> Filtration-Type  </source>
        <translation> Тип фильтра  </translation>
    </message>
    <message>
        <source>Included</source>
        <translation>Включающий</translation>
    </message>
    <message>
        <source>Excluded</source>
        <translation>Исключающий</translation>
    </message>
    <message>
        <source> Datasets  </source>
        <translation> Обработка  </translation>
    </message>
    <message>
        <source>As Hits</source>
        <translation>По импульсам</translation>
    </message>
    <message>
        <source>As Events</source>
        <translation>По событиям</translation>
    </message>
    <message>
        <source>As Mechanic</source>
        <translation>Механические помехи</translation>
    </message>
    <message>
        <source> Events </source>
        <translation> События </translation>
    </message>
    <message>
        <source>MPT :</source>
        <translation>MPT :</translation>
    </message>
    <message>
        <source>LOCK :</source>
        <translation>LOCK :</translation>
    </message>
    <message>
        <source> Mechanic </source>
        <translation> Механические помехи </translation>
    </message>
    <message>
        <source>Forward :</source>
        <translation>Вперед :</translation>
    </message>
    <message>
        <source>Back :</source>
        <translation>Назад :</translation>
    </message>
    <message>
        <source> Options  </source>
        <translation> Параметры  </translation>
    </message>
    <message>
        <source>Delete Parametric</source>
        <translation>Удалить параметрические</translation>
    </message>
    <message>
        <source>Delete TR</source>
        <translation>Удалить TR</translation>
    </message>
    <message>
        <source>Smart End of Time</source>
        <translation>Умный конец времени</translation>
    </message>
    <message>
        <source>&amp;Clear</source>
        <translation>&amp;Очистить</translation>
    </message>
    <message>
        <source>Filtration</source>
        <translation>Фильтрация</translation>
    </message>
    <message>
        <source> Report </source>
        <translation> Протокол </translation>
    </message>
    <message>
        <source>Make report file</source>
        <translation>Вести файл протокола</translation>
    </message>
    <message>
        <source> Report file </source>
        <translation> Файл протокола </translation>
    </message>
    <message>
        <source>Report file in each folder</source>
        <translation>Протокол в каждой папке</translation>
    </message>
    <message>
        <source>Common report file</source>
        <translation>Общий файл протокола</translation>
    </message>
    <message>
        <source>Report &amp;folder</source>
        <translation>Папка прото&amp;кола</translation>
    </message>
    <message>
        <source> Common  </source>
        <translation> Общие  </translation>
    </message>
    <message>
        <source>Save work folder</source>
        <translation>Запоминать рабочую папку</translation>
    </message>
    <message>
        <source>Save configuration on exit</source>
        <translation>Сохранять настройки при выходе</translation>
    </message>
    <message>
        <source> Filter Database </source>
        <translation> База данных фильтров </translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <translation>&amp;Открыть</translation>
    </message>
    <message>
        <source>&amp;Insert</source>
        <translation>&amp;Добавить</translation>
    </message>
    <message>
        <source>&amp;Update</source>
        <translation>О&amp;бновить</translation>
    </message>
    <message>
        <source> Language </source>
        <translation> Язык </translation>
    </message>
    <message>
        <source>English</source>
        <translation>Английский</translation>
    </message>
    <message>
        <source>Russian</source>
        <translation>Русский</translation>
    </message>
    <message>
        <source>&amp;Report View</source>
        <translation>П&amp;росмотр протокола</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>Спр&amp;авка</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>О про&amp;грамме</translation>
    </message>
    <message>
        <source>Service</source>
        <translation>Сервис</translation>
    </message>
    <message>
        <source>&amp;Restore</source>
        <translation>&amp;Восстановить</translation>
    </message>
    <message>
        <source>&amp;Exit</source>
        <translation>&amp;Выход</translation>
    </message>
    <message>
        <source>Min</source>
        <translation>Мин</translation>
    </message>
    <message>
        <source>Max</source>
        <translation>Макс</translation>
    </message>
    <message>
        <source>"%1" is read as "%2" (ignored: %3). Run anyway?</source>
        <translation>"%1" читается как "%2" (пропущено: %3). Всё равно выполнить?</translation>
    </message>
    <message>
        <source>The destination file
%1
exists already. Replace it?</source>
        <translation>Результирующий файл
%1
уже существует. Заменить его?</translation>
    </message>
    <message>
        <source>The filter has no name. Type one to store it.</source>
        <translation>У фильтра нет имени. Введите имя, чтобы сохранить фильтр.</translation>
    </message>
    <message>
        <source>The filter's record has been deleted. Try the '%1' button.</source>
        <translation>Запись фильтра удалена. Попробуйте использовать кнопку '%1'</translation>
    </message>
    <message>
        <source>Filter expression (the first row decides which hits are kept):
%1

Window grids: Insert adds a row, Ctrl+Delete deletes one, Shift+Up/Down move it, Ctrl+F1 in a parameter column looks a name up.
Tab leaves a grid after its last cell, Ctrl+Tab from any cell. F9 starts the run.</source>
        <translation>Выражение фильтрации (какие импульсы остаются, решает первая строка):
%1

Таблицы окон: Insert вставляет строку, Ctrl+Delete удаляет ее, Shift+Up/Down перемещают ее, Ctrl+F1 в столбце параметра открывает выбор параметра.
Tab покидает таблицу после последней ячейки, Ctrl+Tab из любой ячейки. F9 запускает фильтрацию.</translation>
    </message>
    <message>
        <source>A filtration is running. Cancel it and exit?</source>
        <translation>Идет фильтрация. Прервать ее и выйти?</translation>
    </message>
    <message>
        <source>A filter named "%1" is stored already (No. %2). Store a second filter of this name?</source>
        <translation>Фильтр с именем "%1" уже есть в базе (№ %2). Сохранить второй фильтр с этим именем?</translation>
    </message>
    <message>
        <source>Filter sco&amp;pe</source>
        <translation>Об&amp;ласть действия</translation>
    </message>
    <message>
        <source>AE Data Files (%1)</source>
        <translation>Файлы данных АЭ (%1)</translation>
    </message>
</context>
</TS>