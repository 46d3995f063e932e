#pragma once
// A CUPS scheduler of a test's own: configuration, spool and socket in a folder the test
// gives, and two queues whose device is a file, so a print job ends as a PDF the test can
// read. "skribando-a" (the default, at "Bureau 2") writes out-a.pdf, "skribando-b" (at
// "Bureau 3") writes out-b.pdf. Both are A4 with 12 pt unprintable at the left and 14.5 pt at
// the top. Stopped on destruction.

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace testsupport {

// The unprintable margin at the left of the queues' paper, in millimetres.
constexpr double kPrivateCupsLeftMarginMm = 12 * 25.4 / 72;

class PrivateCups {
public:
    explicit PrivateCups(const QString& folder) : folder_(folder) {}
    ~PrivateCups();
    PrivateCups(const PrivateCups&) = delete;
    PrivateCups& operator=(const PrivateCups&) = delete;

    // Empty when the server runs with its queues, else why not.
    QString start();

    QString socket() const { return folder_ + "/cups.sock"; }
    // The file a queue's jobs end in.
    QString output(const QString& queue) const;

    // What clients of this server need; HOME keeps the user's own printer choices out.
    QProcessEnvironment environment() const;
    // The same for a program started in `base` (a test display's environment, say).
    QProcessEnvironment environment(QProcessEnvironment base) const;

    // Waits until `queue` has finished a job, i.e. its file is complete.
    bool waitForCompletedJob(const QString& queue, int milliseconds);

    // The scheduler's error log, for failure messages.
    QString log() const;

private:
    void write(const QString& name, const QByteArray& text);

    QString folder_;
    QProcess cupsd_;
};

// Runs a command to its end (20 s at most); returns what it said on both channels.
QString runTool(const QString& program, const QStringList& arguments,
                const QProcessEnvironment& environment, int* exitCode = nullptr);

} // namespace testsupport
