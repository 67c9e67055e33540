#pragma once
// Taking a member's photo with a camera (frmCap): the list of capture
// devices, a live preview, and saving the current frame as the member's
// photo file. Without any capture device the window is not opened and
// "No Video Capture Device!" is shown instead.

#include "widgets/uicontext.h"

#include <QDialog>
#include <QImage>
#include <QPointer>

class QCamera;
class QCheckBox;
class QComboBox;
class QImageCapture;
class QLabel;
class QMediaCaptureSession;
class QPushButton;
class QVideoFrame;
class QVideoSink;

namespace fitrova {

class CaptureDialog : public QDialog {
    Q_OBJECT
public:
    CaptureDialog(UiContext &ui, const QString &mbCode, QWidget *parent = nullptr);
    ~CaptureDialog() override;

    QString MbCode;
    bool TF = false;

    static bool hasCaptureDevice();
    static QString noDeviceText() { return QStringLiteral("No Video Capture Device!"); }

    // Opens the window for the member; shows the no-device message instead
    // when there is no camera. Returns TF (a photo was saved).
    static bool capture(UiContext &ui, const QString &mbCode, QWidget *parent);

    // Saves the current frame as the member's photo; false (with a message)
    // when there is no frame yet or the file cannot be written.
    bool saveFrame();

private:
    void selectDevice(int index);
    void selectFormat(int index);
    void setPreview(bool on);
    void onFrame(const QVideoFrame &frame);
    bool store(const QImage &image);

    UiContext &m_ui;
    QComboBox *m_driver;
    QComboBox *m_format;
    QCheckBox *m_preview;
    QLabel *m_view;
    QPushButton *m_save;
    QMediaCaptureSession *m_session;
    QVideoSink *m_sink;
    QPointer<QCamera> m_camera;
    QPointer<QImageCapture> m_imageCapture;
    QImage m_lastFrame;
    bool m_waitingForCapture = false;
};

} // namespace fitrova
