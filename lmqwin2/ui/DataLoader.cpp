#include "lmqwin2/ui/DataLoader.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <QTimer>

namespace lmq {

QString LoadErrorText(const std::exception_ptr& error)
{
    try {
        std::rethrow_exception(error);
    } catch (const std::runtime_error& e) {
        const QString text = QString::fromUtf8(e.what());
        if (text == "Data file doesn't exist" || text == "Unknown data type..")
            return text;
    } catch (...) {
    }
    return "File Loading Error";
}

bool DataLoader::Monitor::Continue(uint64_t bytesRead, uint64_t fileSize)
{
    read = bytesRead;
    size = fileSize;
    return !cancel.load();
}

DataLoader::DataLoader(QObject* parent) : QObject(parent)
{
    poll_ = new QTimer(this);
    poll_->setInterval(50);
    connect(poll_, &QTimer::timeout, this,
            [this] { emit progress(monitor_.read.load(), monitor_.size.load()); });
}

DataLoader::~DataLoader()
{
    if (thread_) {
        monitor_.cancel = true;
        thread_->wait();
        delete thread_;
    }
}

bool DataLoader::Start(const QString& path)
{
    if (thread_)
        return false;
    path_ = path;
    monitor_.cancel = false;
    monitor_.read = 0;
    monitor_.size = 0;
    result_.reset();
    error_ = nullptr;
    const std::string name = path.toStdString();
    thread_ = QThread::create([this, name] {
        auto data = std::make_unique<lm::LMDataSet>();
        try {
            data->Load(name, &monitor_);
            result_ = std::move(data);
        } catch (...) {
            error_ = std::current_exception();
        }
    });
    connect(thread_, &QThread::finished, this, &DataLoader::ThreadDone, Qt::QueuedConnection);
    thread_->start();
    poll_->start();
    return true;
}

void DataLoader::Cancel()
{
    monitor_.cancel = true;
}

void DataLoader::Wait()
{
    while (thread_)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

void DataLoader::ThreadDone()
{
    poll_->stop();
    thread_->wait();
    delete thread_;
    thread_ = nullptr;
    bool stopped = false;
    if (error_) {
        try {
            std::rethrow_exception(error_);
        } catch (const lm::LoadCancelled&) {
            stopped = true;
        } catch (...) {
        }
    }
    if (stopped)
        emit cancelled();
    else if (error_)
        emit failed(LoadErrorText(error_));
    else
        emit finished();
}

} // namespace lmq
