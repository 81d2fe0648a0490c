#pragma once

#include <QPixmap>
#include <QWidget>

// The start-up picture: shown for a fixed time while the program starts, and gone at once
// on a click on it or a key press. It deletes itself when it goes.
class CSplashWindow : public QWidget
{
    Q_OBJECT

public:
    CSplashWindow();
    ~CSplashWindow() override;

    // Loads the picture, shows it centred on the screen and starts the timer. Returns false,
    // and shows nothing, when the picture cannot be loaded.
    bool Create();
    int GetDisplayTime() const { return m_nDisplayTime; }

protected:
    void paintEvent(QPaintEvent *pEvent) override;
    void timerEvent(QTimerEvent *pEvent) override;
    bool eventFilter(QObject *pWatched, QEvent *pEvent) override;

private:
    void HideSplashScreen();

    QPixmap m_bitmap;
    const int m_nDisplayTime = 1500;
    int m_nTimerID = 0;
};
