#pragma once
// The map window's background read off the GUI thread, so that a service that does not answer
// never stops the window: one read is current at a time; a newer read or a cancel leaves an
// older one to run out unseen (a request waits at most its time-out).
#include <QObject>
#include <QSize>
#include <QThreadPool>
#include <functional>
#include <memory>
#include <optional>

#include "map/map_model.h"

namespace ovd::mainui {

class BackgroundReads : public QObject {
public:
    // The layer read (background, credit, warnings about it), delivered on the GUI thread for
    // the current read only.
    std::function<void(MapModel&&)> onRead;

    // Reads the background of `settings` for the study `box`: the whole study as the
    // window's first view, or the view `shown` at `pixels`.
    void start(const MapSettings& settings, const StudyBox& box, std::optional<StudyBox> shown = std::nullopt,
               QSize pixels = {});
    // The current read is given up; false when there was none.
    bool cancel();
    bool reading() const { return m_current != nullptr; }

private:
    struct Read;
    std::shared_ptr<Read> m_current;
    // The reads' own threads: they end with the window (after a read in progress, at most one
    // request's time-out), so what the network libraries keep per thread is freed with them.
    QThreadPool m_threads;
};

}  // namespace ovd::mainui
