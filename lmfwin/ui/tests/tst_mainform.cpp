#include <QtTest>

class TestMainForm : public QObject {
    Q_OBJECT
private slots:
    void placeholder() {}
};

QTEST_MAIN(TestMainForm)
#include "tst_mainform.moc"
