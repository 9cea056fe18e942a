#pragma once

// Loads a data file on a worker thread into a data set of its own, so that the window
// stays responsive and a cancelled or failed load leaves the shown data as it was. The
// window polls the progress and takes the loaded set over when the load has succeeded.

#include "lmqwin2/dataset/LMDataSet.h"

#include <QObject>
#include <QString>
#include <atomic>
#include <memory>

class QThread;
class QTimer;

namespace lmq {

// The message box text of a failed load: the two texts of opening pass as they are,
// every other error reads "File Loading Error".
QString LoadErrorText(const std::exception_ptr& error);

class DataLoader : public QObject {
    Q_OBJECT
public:
    explicit DataLoader(QObject* parent = nullptr);
    ~DataLoader() override;

    // Starts loading `path`; false while another load is running.
    bool Start(const QString& path);
    // Asks the running load to stop; it ends with cancelled().
    void Cancel();
    bool Running() const { return thread_ != nullptr; }
    // Waits (processing events) until no load is running.
    void Wait();

    // The set of the load that has just finished (valid in the finished() handler).
    std::unique_ptr<lm::LMDataSet> TakeResult() { return std::move(result_); }
    QString Path() const { return path_; }

signals:
    // How far into the file the reading has come (bytes).
    void progress(quint64 read, quint64 size);
    void finished();
    void failed(const QString& message);
    void cancelled();

private:
    void ThreadDone();

    class Monitor : public lm::LoadMonitor {
    public:
        bool Continue(uint64_t bytesRead, uint64_t fileSize) override;
        std::atomic<bool> cancel{false};
        std::atomic<uint64_t> read{0};
        std::atomic<uint64_t> size{0};
    };

    QThread* thread_ = nullptr;
    QTimer* poll_ = nullptr;
    QString path_;
    Monitor monitor_;
    std::unique_ptr<lm::LMDataSet> result_;
    std::exception_ptr error_;
};

} // namespace lmq
