#include "panel/SavedSessions.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSettings>
#include <QStandardPaths>

#include "core/OutputFile.h"

namespace hexmoor {

namespace {

constexpr int kFormatVersion = 1;
constexpr qint64 kLargestFile = 1 << 20;  // sessions are a few KiB; more is not ours
constexpr const char* kRememberKey = "debug/rememberSessions";

const char* AccessName(TWatchAccess access) {
    switch (access) {
    case TWatchAccess::Read: return "r";
    case TWatchAccess::Write: return "w";
    case TWatchAccess::ReadWrite: return "rw";
    case TWatchAccess::Change: return "change";
    }
    return "w";
}

std::optional<TWatchAccess> AccessNamed(const QString& name) {
    for (TWatchAccess access :
         {TWatchAccess::Read, TWatchAccess::Write, TWatchAccess::ReadWrite, TWatchAccess::Change})
        if (name == AccessName(access)) return access;
    return std::nullopt;
}

QString Text(const std::string& text) { return QString::fromStdString(text); }

QJsonObject ToJson(const std::string& program, const TSavedSession& session) {
    QJsonArray breakpoints, watchpoints, watch, windows;
    for (const TSessionRecord::TBreak& b : session.Points.Breakpoints)
        breakpoints.append(QJsonObject{{"where", Text(b.Where)},
                                       {"condition", Text(b.Condition)},
                                       {"stopAtHit", QString::number(b.StopAtHit)},
                                       {"enabled", b.Enabled}});
    for (const TSessionRecord::TWatch& w : session.Points.Watchpoints) {
        QJsonObject point{{"where", Text(w.Where)}, {"access", AccessName(w.Access)}, {"enabled", w.Enabled}};
        if (w.Value) point["value"] = *w.Value;
        watchpoints.append(point);
    }
    for (const std::string& expression : session.WatchExpressions) watch.append(Text(expression));
    for (const TSavedSession::TWindowPlace& place : session.Windows)
        windows.append(QJsonObject{{"view", Text(place.View)},
                                   {"open", place.Open},
                                   {"geometry", QString::fromLatin1(place.Geometry.toBase64())}});
    return {{"version", kFormatVersion}, {"program", Text(program)}, {"breakpoints", breakpoints},
            {"watchpoints", watchpoints}, {"watch", watch},          {"windows", windows}};
}

// Reads what ToJson wrote; anything else in its place makes the whole file damaged.
class TSessionReader {
public:
    std::optional<TSavedSession> Read(const QJsonObject& root) {
        TSavedSession session;
        if (root["version"].toInt(-1) != kFormatVersion) return Fail("it is not a session of this version");
        for (const QJsonValue& value : Array(root, "breakpoints")) {
            const QJsonObject b = value.toObject();
            bool number = false;
            const uint64_t stopAtHit = b["stopAtHit"].toString().toULongLong(&number);
            if (!IsText(b, "where") || !IsText(b, "condition") || !number || stopAtHit == 0 || !b["enabled"].isBool())
                return Fail("a breakpoint is damaged");
            session.Points.Breakpoints.push_back({String(b, "where"), String(b, "condition"), stopAtHit,
                                                  b["enabled"].toBool()});
        }
        for (const QJsonValue& value : Array(root, "watchpoints")) {
            const QJsonObject w = value.toObject();
            const std::optional<TWatchAccess> access = AccessNamed(w["access"].toString());
            const int byte = w["value"].toInt(-1);
            if (!IsText(w, "where") || !access || !w["enabled"].isBool() || (w.contains("value") && (byte < 0 || byte > 0xFF)))
                return Fail("a watchpoint is damaged");
            session.Points.Watchpoints.push_back({String(w, "where"), *access,
                                                  w.contains("value") ? std::optional(uint8_t(byte)) : std::nullopt,
                                                  w["enabled"].toBool()});
        }
        for (const QJsonValue& value : Array(root, "watch")) {
            if (!value.isString()) return Fail("a watch expression is damaged");
            session.WatchExpressions.push_back(value.toString().toStdString());
        }
        for (const QJsonValue& value : Array(root, "windows")) {
            const QJsonObject place = value.toObject();
            if (!IsText(place, "view") || !place["open"].isBool() || !IsText(place, "geometry"))
                return Fail("a window's place is damaged");
            session.Windows.push_back({String(place, "view"), place["open"].toBool(),
                                       QByteArray::fromBase64(place["geometry"].toString().toLatin1())});
        }
        if (!problem_.empty()) return std::nullopt;
        return session;
    }
    const std::string& Problem() const { return problem_; }

private:
    std::nullopt_t Fail(std::string problem) {
        if (problem_.empty()) problem_ = std::move(problem);
        return std::nullopt;
    }
    QJsonArray Array(const QJsonObject& root, const char* key) {
        if (!root[key].isArray()) Fail(std::string("its ") + key + " are missing");
        return root[key].toArray();
    }
    static bool IsText(const QJsonObject& object, const char* key) { return object[key].isString(); }
    static std::string String(const QJsonObject& object, const char* key) {
        return object[key].toString().toStdString();
    }

    std::string problem_;
};

}  // namespace

TSavedSessions::TSavedSessions(QString folder) : folder_(std::move(folder)) {}

QString TSavedSessions::DefaultFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/hexmoor";
}

bool TSavedSessions::Enabled() const {
    return QSettings(folder_ + "/settings.ini", QSettings::IniFormat).value(kRememberKey, true).toBool();
}

void TSavedSessions::SetEnabled(bool enabled) {
    QSettings(folder_ + "/settings.ini", QSettings::IniFormat).setValue(kRememberKey, enabled);
}

QString TSavedSessions::FileOf(const std::string& program) const {
    const QByteArray path = QFileInfo(Text(program)).absoluteFilePath().toUtf8();
    const QByteArray hash = QCryptographicHash::hash(path, QCryptographicHash::Sha1).toHex().left(16);
    return folder_ + "/sessions/" + QFileInfo(Text(program)).fileName() + "-" + QString::fromLatin1(hash) + ".json";
}

std::string TSavedSessions::Save(const std::string& program, const TSavedSession& session) const {
    const QString file = FileOf(program);
    if (session.Empty()) {
        QFile::remove(file);
        return "";
    }
    if (!QDir().mkpath(QFileInfo(file).path()))
        return "Cannot remember the debug session in " + QFileInfo(file).path().toStdString() +
               ": the folder cannot be made";
    const QByteArray bytes = QJsonDocument(ToJson(program, session)).toJson();
    if (std::string error = WriteOutputFile(file.toStdString(), std::string_view(bytes.data(), bytes.size()));
        !error.empty())
        return "Cannot remember the debug session in " + file.toStdString() + ": " + error;
    return "";
}

std::optional<TSavedSession> TSavedSessions::Load(const std::string& program, std::string& problem) const {
    problem.clear();
    const QString path = FileOf(program);
    const QFileInfo info(path);
    if (!info.exists()) return std::nullopt;
    const std::string name = path.toStdString();
    // A FIFO or a device would block or never end: only a regular file of a sensible size.
    if (!info.isFile()) problem = "it is not a regular file";
    else if (info.size() > kLargestFile) problem = "it is larger than a session can be";
    QFile file(path);
    QByteArray bytes;
    if (problem.empty() && !file.open(QIODevice::ReadOnly)) problem = file.errorString().toStdString();
    if (problem.empty()) bytes = file.read(kLargestFile + 1);
    QJsonParseError parse{};
    const QJsonDocument document = problem.empty() ? QJsonDocument::fromJson(bytes, &parse) : QJsonDocument();
    if (problem.empty() && (parse.error != QJsonParseError::NoError || !document.isObject()))
        problem = "it is not a session (" +
                  (parse.error != QJsonParseError::NoError ? parse.errorString().toStdString() + " at byte " +
                                                                 std::to_string(parse.offset)
                                                           : std::string("no object")) +
                  ")";
    std::optional<TSavedSession> session;
    if (problem.empty()) {
        TSessionReader reader;
        session = reader.Read(document.object());
        problem = reader.Problem();
    }
    if (!problem.empty()) problem = "The debug session saved in " + name + " is not used: " + problem;
    return session;
}

}  // namespace hexmoor
