#pragma once

// A long command that keeps the window alive: once it has run for half a second, a modal
// progress dialog says what it does and how far it has come, the windows repaint while it
// runs, and its Cancel button (or Escape) asks the command to stop. Tests install a handler
// instead; without a GUI nothing is shown and nothing is cancelled.

#include <QElapsedTimer>
#include <QPointer>
#include <QString>
#include <cstdint>
#include <functional>

class QProgressDialog;

class CLongOperation
{
public:
    explicit CLongOperation(QString strLabel);
    ~CLongOperation();
    CLongOperation(const CLongOperation &) = delete;
    CLongOperation &operator=(const CLongOperation &) = delete;

    // Tells how far the command has come (`nTotal` 0: not known) and lets the windows repaint.
    // False once the user has asked to stop; the command then stops and leaves nothing half
    // done.
    bool Step(std::uint64_t nDone, std::uint64_t nTotal);
    bool IsCancelled() const { return m_bCancelled; }

    // How long a command runs before the dialog shows, and how often it is brought up to date.
    static constexpr int kShowAfterMilliseconds = 500;
    static constexpr int kUpdateMilliseconds = 50;

private:
    void ShowDialog();

    const QString m_strLabel;
    QElapsedTimer m_timer;
    qint64 m_nLastUpdate = 0;
    QPointer<QProgressDialog> m_pDialog;
    bool m_bCancelled = false;
    bool m_bArrowCursor = false;
};

// Answers Step() in place of the dialog: the label, done and total; false stops the command.
using LongOperationHandler =
    std::function<bool(const QString &strLabel, std::uint64_t nDone, std::uint64_t nTotal)>;
// Installs `handler` (empty: the dialog again); returns the one it replaces.
LongOperationHandler SetLongOperationHandler(LongOperationHandler handler);
