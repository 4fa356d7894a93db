#include "map_background.h"

#include <QFutureWatcher>
#include <QtConcurrent/QtConcurrentRun>
#include <atomic>

#include "map/map_layers.h"

namespace ovd::mainui {

namespace {

// The worker's reporter: nothing shown, only the cancel asked for by the window.
class CancelFlag : public Reporter {
public:
    void message(Severity, std::string_view, std::string_view) override { }
    Answer ask(const Question&) override { return Answer::No; }
    void status(int, std::string_view) override { }
    void progress(long, long) override { }
    bool cancelled() const override { return cancel.load(); }
    std::atomic<bool> cancel{false};
};

}  // namespace

struct BackgroundReads::Read {
    CancelFlag flag;
};

void BackgroundReads::start(const MapSettings& settings, const StudyBox& box, std::optional<StudyBox> shown,
                            QSize pixels)
{
    cancel();
    auto read = std::make_shared<Read>();
    m_current = read;
    auto* watcher = new QFutureWatcher<MapModel>(this);
    connect(watcher, &QFutureWatcher<MapModel>::finished, this, [this, watcher, read] {
        watcher->deleteLater();
        if (m_current != read)
            return;  // given up or overtaken
        m_current.reset();
        if (onRead)
            onRead(watcher->result());
    });
    watcher->setFuture(QtConcurrent::run(&m_threads, [settings, box, shown, pixels, read] {
        MapModel part;
        part.box = box;
        if (shown)
            buildViewBackground(settings, part, read->flag, *shown, pixels);
        else
            buildBackgroundLayer(settings, part, read->flag, 0);
        return part;
    }));
}

bool BackgroundReads::cancel()
{
    if (!m_current)
        return false;
    m_current->flag.cancel = true;
    m_current.reset();
    return true;
}

}  // namespace ovd::mainui
