// The window as a new user meets it: no silent surprises (an expression that does not read
// as typed, a post file replaced, a run closed), the keyboard, the window's size, the kept
// inputs, the filter database's name rules and the Russian translation.

#include "WindowTestSupport.h"
#include "lmfwin/ui/TDataModule.h"
#include "lmfwin/ui/TFFilterBase.h"
#include "lmfwin/ui/TFProtocolView.h"
#include "lmfwin/ui/TLookUpParamDlg.h"
#include "lmfwin/ui/TMainForm.h"
#include "lmfwin/ui/Translation.h"

#include <QCryptographicHash>
#include <QHeaderView>
#include <QMessageBox>
#include <QSettings>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtTest>

using namespace lmf;
using namespace lmf::test;

namespace {

QByteArray Checksum(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

// Name and checksum of every file in a folder.
QMap<QString, QByteArray> FolderState(const QString& folder)
{
    QMap<QString, QByteArray> state;
    for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Hidden))
        state[name] = Checksum(QDir(folder).filePath(name));
    return state;
}

} // namespace

class TestMainFormUser : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void expressionThatDoesNotReadAsTypedAsksDefaultNo();
    void existingPostFileIsReplacedOnlyAfterAsking();
    void existingBackupIsReplacedOnlyAfterAsking();
    void closingDuringARunAsksAndCancels();
    void tabReachesStartFromSourceAndLeavesEveryGrid();
    void everyControlIsReachableByKeyboard();
    void windowFitsASmallScreen();
    void columnsAreAtLeastAsWideAsTheirTitles();
    void hideFollowsTheTray();
    void positionAndLastInputsAreKept();
    void filterDatabaseNameRules();
    void readOnlyFormatAndUnknownParameterMessages();
    void platformQuestionsDefaultToNoAndShowTheirTitle();
    void russianTranslationSwitchesEverything(); // last: it installs the translation

private:
    std::unique_ptr<TMainForm> MakeWindow(FilterEngine* engine = nullptr);
    // Starts a run with F9 and waits for its end; false when no run started.
    bool RunAndWait(TMainForm& w);

    FilterWorld world_;
    FakeDialogs dialogs_;
};

void TestMainFormUser::initTestCase()
{
    world_.Open();
}

void TestMainFormUser::init()
{
    FilterWorld::ClearSettings();
    dialogs_ = FakeDialogs();
}

void TestMainFormUser::cleanup()
{
    FilterWorld::ClearSettings();
}

std::unique_ptr<TMainForm> TestMainFormUser::MakeWindow(FilterEngine* engine)
{
    return world_.ShowWindow(dialogs_, engine);
}

bool TestMainFormUser::RunAndWait(TMainForm& w)
{
    QSignalSpy finished(&w, &TMainForm::runFinished);
    QTest::keyClick(&w, Qt::Key_F9);
    if (!w.IsRunning() && finished.isEmpty())
        return false;
    return !finished.isEmpty() || finished.wait(20000);
}

void TestMainFormUser::expressionThatDoesNotReadAsTypedAsksDefaultNo()
{
    QTemporaryDir folder;
    lmtest::SampleFile(folder, "test.ald", {300, 4});
    auto w = MakeWindow();
    w->SetWorkFolder(folder.path());
    w->EditSourceFile->setText("test.ald");
    w->EditPostFile->setText("post.ald");
    w->Grids[0]->SetRows({{"Amplitude", "60", "100"}});
    w->Grids[1]->SetRows({{"Amplitude", "0", "50"}});
    w->GridExpressions->item(0, 0)->setText("A and B");
    const auto before = FolderState(folder.path());

    // No: nothing runs, no file is written or changed.
    dialogs_.answer = false;
    QVERIFY(!RunAndWait(*w));
    QCOMPARE(dialogs_.shown.size(), 1);
    QCOMPARE(dialogs_.shown[0].kind, QString("question"));
    QCOMPARE(dialogs_.shown[0].caption, QString("Attention.."));
    QCOMPARE(dialogs_.shown[0].text,
             "\"A and B\" is read as \"A\" (ignored: \"and\", \"B\"). Run anyway?\n\n" + ExpressionSyntax());
    QCOMPARE(FolderState(folder.path()), before);

    // Yes: the run goes on with the expression as read.
    dialogs_.shown.clear();
    dialogs_.answer = true;
    QVERIFY(RunAndWait(*w));
    QCOMPARE(dialogs_.shown.last().caption, QString("Summary.."));
    QVERIFY(QFileInfo::exists(folder.filePath("post.ald")));

    // An expression that reads as typed asks nothing (the post file now exists: it asks
    // about that only).
    dialogs_.shown.clear();
    w->GridExpressions->item(0, 0)->setText("(a | b) & A");
    w->EditPostFile->setText("post2.ald");
    QVERIFY(RunAndWait(*w));
    QCOMPARE(dialogs_.shown.size(), 1);
    QCOMPARE(dialogs_.shown[0].caption, QString("Summary.."));
}

void TestMainFormUser::existingPostFileIsReplacedOnlyAfterAsking()
{
    QTemporaryDir folder;
    lmtest::SampleFile(folder, "test.ald", {300, 4});
    const QString post = folder.filePath("post.ald");
    {
        QFile file(post);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("an earlier result");
    }
    auto w = MakeWindow();
    w->SetWorkFolder(folder.path());
    w->EditSourceFile->setText("test.ald");
    w->EditPostFile->setText("post.ald"); // typed
    w->Grids[0]->SetRows({{"Amplitude", "60", "100"}});
    const auto before = FolderState(folder.path());

    dialogs_.answer = false;
    QVERIFY(!RunAndWait(*w));
    QCOMPARE(dialogs_.shown.size(), 1);
    QCOMPARE(dialogs_.shown[0].kind, QString("question"));
    QCOMPARE(dialogs_.shown[0].caption, QString("Attention.."));
    QCOMPARE(dialogs_.shown[0].text,
             "The destination file\n" + QDir::toNativeSeparators(post) + "\nexists already. Replace it?");
    QCOMPARE(FolderState(folder.path()), before);

    // Chosen in the Destination dialog, which has asked already: no second question.
    dialogs_.shown.clear();
    dialogs_.answer = true;
    dialogs_.fileAnswer = post;
    w->BtnPostFile->click();
    QVERIFY(RunAndWait(*w));
    QCOMPARE(dialogs_.shown.size(), 1);
    QCOMPARE(dialogs_.shown[0].caption, QString("Summary.."));
    QVERIFY(Checksum(post) != before["post.ald"]);

    // Start again: the run would replace the result just written, so it asks again.
    const QByteArray result = Checksum(post);
    dialogs_.shown.clear();
    dialogs_.answer = false;
    QVERIFY(!RunAndWait(*w));
    QCOMPARE(dialogs_.shown.size(), 1);
    QVERIFY(dialogs_.shown[0].text.endsWith("exists already. Replace it?"));
    QCOMPARE(Checksum(post), result);
}

void TestMainFormUser::existingBackupIsReplacedOnlyAfterAsking()
{
    QTemporaryDir folder;
    lmtest::SampleFile(folder, "test.ald", {300, 4});
    {
        QFile file(folder.filePath("test.BAK"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("the original of another recording");
    }
    auto w = MakeWindow();
    w->SetWorkFolder(folder.path());
    w->EditSourceFile->setText("test.ald"); // no destination: into the source itself
    w->Grids[0]->SetRows({{"Amplitude", "60", "100"}});
    const auto before = FolderState(folder.path());

    // Yes to filtering into the source, No to replacing the backup: every file stays.
    dialogs_.answers = {true, false};
    QVERIFY(RunAndWait(*w));
    QCOMPARE(dialogs_.shown.size(), 3);
    QCOMPARE(dialogs_.shown[0].text, QString("The destination file name is empty or equal to the source's.\n"
                                             "The source file will be changed.\nContinue?"));
    QCOMPARE(dialogs_.shown[1].kind, QString("question"));
    QCOMPARE(dialogs_.shown[1].caption, QString("Attention.."));
    QCOMPARE(dialogs_.shown[1].text, "The backup file already exists:\n" + folder.filePath("test.BAK") +
                                         "\nReplace it? The earlier backup will be lost.");
    QCOMPARE(dialogs_.shown[2].kind, QString("error"));
    QVERIFY2(dialogs_.shown[2].text.startsWith("The backup file already exists and is not replaced."),
             qPrintable(dialogs_.shown[2].text));
    QCOMPARE(FolderState(folder.path()), before);
}

void TestMainFormUser::closingDuringARunAsksAndCancels()
{
    BlockingEngine engine;
    auto w = MakeWindow(&engine);
    QSignalSpy finished(w.get(), &TMainForm::runFinished);
    w->BtnRun->click();
    QTRY_VERIFY(engine.started.load());

    // No: the run goes on.
    dialogs_.shown.clear();
    dialogs_.answer = false;
    QVERIFY(!w->close());
    QCOMPARE(dialogs_.shown.size(), 1);
    QCOMPARE(dialogs_.shown[0].caption, QString("Exit.."));
    QCOMPARE(dialogs_.shown[0].text, QString("A filtration is running. Cancel it and exit?"));
    QTest::qWait(50);
    QVERIFY(w->IsRunning());

    // Yes: the run is cancelled and the window closes, without a further message.
    dialogs_.shown.clear();
    dialogs_.answer = true;
    w->close();
    QVERIFY(finished.wait(5000));
    QVERIFY(!w->IsRunning());
    QTRY_VERIFY(!w->isVisible());
    QCOMPARE(dialogs_.shown.size(), 1); // the question only
}

void TestMainFormUser::tabReachesStartFromSourceAndLeavesEveryGrid()
{
    auto w = MakeWindow();
    auto focused = [] { return QApplication::focusWidget(); };
    auto press = [&](Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(focused(), key, modifiers);
    };

    // From the source field Tab goes through the expression grid (its four cells) to Start.
    w->EditSourceFile->setFocus();
    QCOMPARE(focused(), w->EditSourceFile);
    QList<QWidget*> path;
    for (int i = 0; i < 12 && focused() != w->BtnRun; ++i) {
        press(Qt::Key_Tab);
        path << focused();
    }
    QCOMPARE(focused(), w->BtnRun);
    QVERIFY(path.contains(w->GridExpressions));
    QVERIFY(path.contains(w->EditPostFile) && path.contains(w->EditFilterName));

    // A window grid: Tab leaves after the last cell, Shift+Tab before the first.
    TFilterGrid* grid = w->Grids[0];
    grid->setFocus();
    grid->setCurrentCell(0, 2);
    press(Qt::Key_Tab);
    QCOMPARE(focused(), w->BoxDep[0]);
    press(Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(focused(), grid);
    grid->setCurrentCell(0, 0);
    press(Qt::Key_Backtab, Qt::ShiftModifier);
    QVERIFY(focused() != grid);

    // Inside a grid Tab moves from cell to cell; Ctrl+Tab leaves from any cell.
    grid->SetRows({{"a", "1", "2"}, {"b", "3", "4"}});
    grid->setFocus();
    grid->setCurrentCell(0, 1);
    press(Qt::Key_Tab);
    QCOMPARE(focused(), grid);
    QCOMPARE(grid->currentColumn(), 2);
    press(Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(focused(), w->BoxDep[0]);

    // Also while a cell is typed in: Tab in the last cell's editor leaves, keeping the text.
    grid->setFocus();
    grid->setCurrentCell(1, 2);
    grid->editItem(grid->item(1, 2));
    QVERIFY(grid->viewport()->isAncestorOf(focused()));
    QTest::keyClick(focused(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(focused(), "7");
    press(Qt::Key_Tab);
    QCOMPARE(focused(), w->BoxDep[0]);
    QCOMPARE(grid->Cell(2, 2), QString("7"));
    grid->setFocus();
    grid->setCurrentCell(0, 0);
    grid->editItem(grid->item(0, 0));
    press(Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(focused(), w->BoxDep[0]);
}

void TestMainFormUser::everyControlIsReachableByKeyboard()
{
    auto w = MakeWindow();
    auto focused = [] { return QApplication::focusWidget(); };
    // Tab around the window once on each page, collecting what takes the focus.
    auto tour = [&] {
        QSet<QWidget*> seen;
        w->EditSourceFile->setFocus();
        for (int i = 0; i < 200; ++i) {
            QTest::keyClick(focused(), Qt::Key_Tab);
            seen.insert(focused());
            if (focused() == w->EditSourceFile)
                break;
        }
        return seen;
    };
    const QSet<QWidget*> filtration = tour();
    for (QWidget* widget : std::initializer_list<QWidget*>{
             w->BtnSourceFile, w->EditPostFile, w->BtnPostFile, w->EditFilterName, w->GridExpressions,
             w->BtnRun, w->Grids[0], w->Grids[1], w->Grids[2], w->Grids[3], w->BoxDep[0], w->BoxDep[3],
             w->CheckBoxTDP, w->CheckBoxTR, w->RadioGroupType->Button(0), w->RadioGroupEventType->Button(0),
             w->BtnExit})
        QVERIFY2(filtration.contains(widget), qPrintable(widget->objectName()));
    QTabBar* tabs = w->PageControl->tabBar();
    QVERIFY(filtration.contains(tabs));

    // The pages switch from the keyboard; the Service page's controls are then reached too.
    tabs->setFocus();
    QTest::keyClick(tabs, Qt::Key_Right);
    QCOMPARE(w->PageControl->currentWidget(), w->PageService);
    const QSet<QWidget*> service = tour();
    for (QWidget* widget : std::initializer_list<QWidget*>{
             w->CheckBoxPrtEnable, w->RadioGroupPrt->Button(0), w->CheckBoxSaveFolder, w->CheckBoxSaveConfig,
             w->BaseLoad, w->BaseAdd, w->RGLanguage->Button(0), w->BtnReportView, w->BtnHelp, w->BtnAbout})
        QVERIFY2(service.contains(widget), qPrintable(widget->objectName()));

    // The windows A-D have mnemonics: Alt+D goes into window D.
    QTest::keyClick(tabs, Qt::Key_Left);
    w->EditSourceFile->setFocus();
    QTest::keyClick(focused(), Qt::Key_D, Qt::AltModifier);
    QVERIFY(w->Grids[3]->parentWidget()->isAncestorOf(focused()));
}

void TestMainFormUser::windowFitsASmallScreen()
{
    auto w = MakeWindow();
    // No maximise button, one size.
    QVERIFY(!(w->windowFlags() & Qt::WindowMaximizeButtonHint));
    QCOMPARE(w->minimumSize(), w->maximumSize());
    // The content fits 1366 x 768 with a title bar (about 30) and a panel (about 40) to spare.
    QWidget* content = w->Scroll->widget();
    const QSize needed = content->minimumSizeHint().expandedTo(content->sizeHint());
    QVERIFY2(needed.width() <= 1366 && needed.height() <= 768 - 30 - 40,
             qPrintable(QString("%1 x %2").arg(needed.width()).arg(needed.height())));
    // Never larger than the screen it is on: the rest scrolls.
    const QSize screen = w->screen()->availableGeometry().size();
    QVERIFY(w->width() <= screen.width() && w->height() <= screen.height());
}

void TestMainFormUser::columnsAreAtLeastAsWideAsTheirTitles()
{
    auto w = MakeWindow();
    for (TFilterGrid* grid : w->Grids) {
        const QFontMetrics metrics(grid->horizontalHeader()->font());
        for (int c = 0; c < grid->columnCount(); ++c) {
            const QString title = grid->horizontalHeaderItem(c)->text();
            QVERIFY2(grid->columnWidth(c) >= metrics.horizontalAdvance(title) + 4, qPrintable(title));
            // The whole grid is shown without scrolling sideways.
            QVERIFY(grid->columnViewportPosition(c) + grid->columnWidth(c) <= grid->viewport()->width());
        }
    }
    TLookUpParamDlg1 lookup(world_.store.get(), 0, w.get());
    QCOMPARE(lookup.windowTitle(), QString("Parameter Lookup"));
}

void TestMainFormUser::hideFollowsTheTray()
{
    CapturingEngine engine;
    auto w = MakeWindow(&engine);
    const bool tray = QSystemTrayIcon::isSystemTrayAvailable();
    QCOMPARE(w->BtnHide->isEnabled(), tray);
    QVERIFY(RunAndWait(*w));
    QCOMPARE(w->BtnHide->isEnabled(), tray); // a run does not make it think otherwise
    w->BtnHide->click();
    QCOMPARE(w->isVisible(), !tray);
}

void TestMainFormUser::positionAndLastInputsAreKept()
{
    {
        auto w = MakeWindow();
        w->EditSourceFile->setText("/data/run1/T1.DTA");
        w->EditPostFile->setText("/data/run1/T1-post.DTA");
        w->EditFilterName->setText("Noise band");
        w->GridExpressions->item(0, 0)->setText("A|B");
        w->GridExpressions->setItem(2, 0, new QTableWidgetItem("C"));
        w->move(37, 41);
    }
    {
        auto w = MakeWindow();
        QCOMPARE(w->EditSourceFile->text(), QString("/data/run1/T1.DTA"));
        QCOMPARE(w->EditPostFile->text(), QString("/data/run1/T1-post.DTA"));
        QCOMPARE(w->EditFilterName->text(), QString("Noise band"));
        QCOMPARE(w->GridExpressions->item(0, 0)->text(), QString("A|B"));
        QCOMPARE(w->GridExpressions->item(2, 0)->text(), QString("C"));
        QCOMPARE(w->pos(), QPoint(37, 41));
        w->CheckBoxSaveConfig->setChecked(false);
    }
    // Without "Save configuration on exit" the next start shows the defaults.
    auto w = MakeWindow();
    QVERIFY(w->EditSourceFile->text().isEmpty());
    QCOMPARE(w->EditFilterName->text(), QString("New filter"));
    QCOMPARE(w->GridExpressions->item(0, 0)->text(), QString("A"));
}

void TestMainFormUser::filterDatabaseNameRules()
{
    auto w = MakeWindow();
    const int before = int(world_.store->List().size());
    w->Grids[0]->SetRows({{"Amplitude", "40", "60"}});

    // An empty name is refused.
    w->EditFilterName->setText("  ");
    w->BaseAdd->click();
    QCOMPARE(dialogs_.shown.size(), 1);
    QCOMPARE(dialogs_.shown[0].kind, QString("error"));
    QCOMPARE(dialogs_.shown[0].text, QString("The filter has no name. Type one to store it."));
    QCOMPARE(int(world_.store->List().size()), before);
    QVERIFY(!w->BaseUpdate->isEnabled());

    // A second filter of a stored name only after Yes to the question (default No).
    w->EditFilterName->setText("Twice");
    w->BaseAdd->click();
    const int first = w->LoadedFilter();
    QCOMPARE(int(world_.store->List().size()), before + 1);
    dialogs_.shown.clear();
    dialogs_.answer = false;
    w->BaseAdd->click();
    QCOMPARE(dialogs_.shown.size(), 1);
    QCOMPARE(dialogs_.shown[0].kind, QString("question"));
    QCOMPARE(
        dialogs_.shown[0].text,
        QString("A filter named \"Twice\" is stored already (No. %1). Store a second filter of this name?")
            .arg(first));
    QCOMPARE(int(world_.store->List().size()), before + 1);
    QCOMPARE(w->LoadedFilter(), first);
    dialogs_.answer = true;
    w->BaseAdd->click();
    const int second = w->LoadedFilter();
    QVERIFY(second != first);
    QCOMPARE(int(world_.store->List().size()), before + 2);

    // Updating a filter under its own name asks nothing.
    dialogs_.shown.clear();
    w->BaseUpdate->click();
    QCOMPARE(dialogs_.shown.size(), 1);
    QCOMPARE(dialogs_.shown[0].text, QString("The filter has been overwritten"));

    // The chooser shows the numbers that tell the two apart.
    WhenModal<TFFilterBase>([&](TFFilterBase* chooser) {
        QVERIFY(!chooser->List->isColumnHidden(0));
        QCOMPARE(chooser->List->horizontalHeaderItem(0)->text(), QString("No."));
        QStringList twice;
        for (int r = 0; r < chooser->List->rowCount(); ++r)
            if (chooser->List->item(r, 2)->text() == "Twice")
                twice << chooser->List->item(r, 0)->text();
        QCOMPARE(twice, (QStringList{QString::number(first), QString::number(second)}));
        chooser->reject();
    });
    w->BaseLoad->click();
}

void TestMainFormUser::readOnlyFormatAndUnknownParameterMessages()
{
    QTemporaryDir folder;
    QByteArray isa(3848, '\0');
    const auto put = [&isa](int at, quint32 value) {
        for (int i = 0; i < 4; ++i)
            isa[at + i] = char(value >> (8 * i));
    };
    put(12, 43521);        // an A-Line file
    put(3844, 0x1313CFCF); // of the ISA system
    {
        QFile file(folder.filePath("isa.dta"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(isa);
    }
    auto w = MakeWindow();
    w->SetWorkFolder(folder.path());
    w->EditSourceFile->setText("isa.dta");
    w->EditPostFile->setText("post.dta");
    w->Grids[0]->SetRows({{"Amplitude", "60", "100"}});
    QVERIFY(RunAndWait(*w));
    QCOMPARE(dialogs_.shown.last().text, QString("A-Line ISA files are read only and cannot be filtered"));
    QVERIFY(!QFileInfo::exists(folder.filePath("post.dta")));

    dialogs_.shown.clear();
    w->Grids[0]->SetRows({{"Amplitud", "60", "100"}});
    w->BaseAdd->click();
    QCOMPARE(dialogs_.shown.last().text, QString("Window A Record 1\nUnknown parameter name: 'Amplitud'"));
}

void TestMainFormUser::platformQuestionsDefaultToNoAndShowTheirTitle()
{
    // The platform's own boxes: Enter on a question answers No, and a short question in a box
    // with a long title is as wide as the title.
    PlatformDialogs platform;
    const QString title = "Filter Database: a title longer than the question below it";
    int width = 0;
    WhenModal<QMessageBox>([&](QMessageBox* box) {
        width = box->width();
        QTest::keyClick(box, Qt::Key_Return);
    });
    QVERIFY(!platform.Question(nullptr, title, "Delete?", false));
    QVERIFY2(width >= QFontMetrics(QApplication::font()).horizontalAdvance(title),
             qPrintable(QString::number(width)));
    WhenModal<QMessageBox>([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Return); });
    QVERIFY(!platform.Question(nullptr, title, "Replace?", true));
}

void TestMainFormUser::russianTranslationSwitchesEverything()
{
    QVERIFY(InstallTranslation("RUS"));
    auto w = MakeWindow();

    // Captions, headers and buttons.
    QCOMPARE(w->BtnRun->text(), QString::fromUtf8("&Пуск"));
    QCOMPARE(w->BaseAdd->text(), QString::fromUtf8("&Добавить"));
    QCOMPARE(w->PageControl->tabText(0), QString::fromUtf8("Фильтрация"));
    QCOMPARE(w->GridExpressions->horizontalHeaderItem(0)->text(), QString::fromUtf8("Выражение"));
    QCOMPARE(w->Grids[3]->horizontalHeaderItem(0)->text(), QString::fromUtf8("Параметр Y"));

    // No English word left among the texts the user sees (names of systems, windows and
    // fields that are the same in both languages aside).
    const QRegularExpression latinWord("[A-Za-z]{2,}");
    const QSet<QString> sameInBoth{"AE",     "Tessaline", "MPT", "LOCK", "TR",   "AND", "Delete",
                                   "Insert", "Shift",     "Up",  "Down", "Ctrl", "Tab", "ASCII"};
    auto checkText = [&](const QString& text, const QString& where) {
        auto words = latinWord.globalMatch(text);
        while (words.hasNext()) {
            const QString word = words.next().captured();
            QVERIFY2(sameInBoth.contains(word), qPrintable(where + ": " + text));
        }
    };
    for (QAbstractButton* button : w->findChildren<QAbstractButton*>())
        checkText(button->text(), button->objectName());
    for (QLabel* label : w->findChildren<QLabel*>())
        if (label != w->LabelWorkFolder)
            checkText(label->text(), "label");
    for (QGroupBox* box : w->findChildren<QGroupBox*>())
        checkText(box->title(), "box");
    for (QTableWidget* grid : w->findChildren<QTableWidget*>())
        for (int c = 0; c < grid->columnCount(); ++c)
            checkText(grid->horizontalHeaderItem(c)->text(), grid->objectName());
    for (int r = 0; r < 4; ++r)
        checkText(w->GridExpressions->verticalHeaderItem(r)->text(), "scope");
    checkText(w->GridExpressions->toolTip(), "tooltip");

    // The messages: the Russian texts as they ship, in the window's own boxes.
    dialogs_.shown.clear();
    w->DropFiles({"/a/one.ald", "/a/two.ald"});
    QCOMPARE(dialogs_.shown.last().caption, QString::fromUtf8("Внимание.."));
    QCOMPARE(dialogs_.shown.last().text, QString::fromUtf8("Тащи ОДИН файл!"));
    w->Grids[0]->SetRows({{"Amplitude", "100", "60"}});
    QVERIFY(RunAndWait(*w));
    QCOMPARE(dialogs_.shown.last().caption, QString::fromUtf8("Ошибка.."));
    QCOMPARE(dialogs_.shown.last().text,
             QString::fromUtf8("Окно A Запись 1\nМинимальный предел больше максимального"));
    w->Grids[0]->SetRows({{"Amplitude", "60", "100"}});
    w->EditFilterName->setText("Russian");
    w->BaseAdd->click();
    QCOMPARE(dialogs_.shown.last().text, QString::fromUtf8("Фильтр успешно внесен в Базу Данных"));
    world_.store->Delete(w->LoadedFilter());
    w->BaseUpdate->click();
    // The button it names is the one labelled so.
    QCOMPARE(dialogs_.shown.last().text,
             QString::fromUtf8("Запись фильтра удалена. Попробуйте использовать кнопку 'Добавить'"));
    w->close();
    QCOMPARE(dialogs_.shown.last().caption, QString::fromUtf8("Выход.."));
    QCOMPARE(dialogs_.shown.last().text, QString::fromUtf8("Завершить работу программы?"));

    // The dialogs.
    TFFilterBase chooser(world_.store.get(), &dialogs_, w.get());
    QCOMPARE(chooser.windowTitle(), QString::fromUtf8("База данных фильтров"));
    QCOMPARE(chooser.NavDelete->toolTip(), QString::fromUtf8("Удалить"));
    QCOMPARE(chooser.List->horizontalHeaderItem(2)->text(), QString::fromUtf8("Название фильтра"));
    QTemporaryDir folder;
    const QString protocol = folder.filePath("Protocol.txt");
    QFile(protocol).open(QIODevice::WriteOnly);
    TFProtocolView viewer(protocol, &dialogs_);
    QCOMPARE(viewer.windowTitle(), QString::fromUtf8("Просмотр файла протокола"));

    // Column titles still fit in the longer language.
    for (TFilterGrid* grid : w->Grids) {
        const QFontMetrics metrics(grid->horizontalHeader()->font());
        for (int c = 0; c < grid->columnCount(); ++c)
            QVERIFY(grid->columnWidth(c) >= metrics.horizontalAdvance(grid->horizontalHeaderItem(c)->text()));
    }

    for (QTranslator* translator : qApp->findChildren<QTranslator*>())
        QCoreApplication::removeTranslator(translator);
}

QTEST_MAIN(TestMainFormUser)
#include "TMainFormUserTest.moc"
