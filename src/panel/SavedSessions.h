// Debug sessions remembered per program: one file a program in the user's configuration
// folder (~/.config/hexmoor/sessions), named by a hash of the program's absolute path and
// holding that path, so that loading the program again brings back its breakpoints,
// watchpoints, watch expressions and Debug windows as they were. The runner never uses it.
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>
#include <string>
#include <vector>

#include "debug/SessionRecord.h"

namespace hexmoor {

struct TSavedSession {
    struct TWindowPlace {
        std::string View;  // the window's name: "Memory", "Code", ...
        bool Open = false;
        QByteArray Geometry;  // as QWidget::saveGeometry gives it
    };
    TSessionRecord Points;
    std::vector<std::string> WatchExpressions;
    std::vector<TWindowPlace> Windows;

    bool Empty() const {
        return Points.Breakpoints.empty() && Points.Watchpoints.empty() && WatchExpressions.empty() &&
               Windows.empty();
    }
};

class TSavedSessions {
public:
    // `folder` holds the setting and the sessions' folder; by default the user's.
    explicit TSavedSessions(QString folder = DefaultFolder());
    static QString DefaultFolder();

    // Whether sessions are remembered (on unless the user turned it off).
    bool Enabled() const;
    void SetEnabled(bool enabled);

    // The program's file, whether or not it exists.
    QString FileOf(const std::string& program) const;
    // Writes the program's session (an empty one removes its file). Returns "" or why not.
    std::string Save(const std::string& program, const TSavedSession& session) const;
    // The program's session; nullopt when none is kept or the file cannot be used, then
    // `problem` says why when the file is there but unreadable or damaged.
    std::optional<TSavedSession> Load(const std::string& program, std::string& problem) const;

private:
    QString folder_;
};

}  // namespace hexmoor
