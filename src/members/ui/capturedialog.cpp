#include "members/ui/capturedialog.h"

#include "members/ui/memberphoto.h"
#include "members/ui/memberui.h"
#include "widgets/controls.h"

#include <QCamera>
#include <QCameraDevice>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QImageCapture>
#include <QLabel>
#include <QMediaCaptureSession>
#include <QMediaDevices>
#include <QPushButton>
#include <QVBoxLayout>
#include <QVideoFrame>
#include <QVideoSink>

namespace fitrova {

namespace {
const QString kTitle = QStringLiteral("사진촬영");
}

bool CaptureDialog::hasCaptureDevice()
{
    return !QMediaDevices::videoInputs().isEmpty();
}

bool CaptureDialog::capture(UiContext &ui, const QString &mbCode, QWidget *parent)
{
    if (!hasCaptureDevice()) {
        ui.msg.warn(noDeviceText(), kTitle);
        return false;
    }
    CaptureDialog dlg(ui, mbCode, parent);
    dlg.exec();
    return dlg.TF;
}

CaptureDialog::CaptureDialog(UiContext &ui, const QString &mbCode, QWidget *parent)
    : QDialog(parent), MbCode(mbCode), m_ui(ui)
{
    setObjectName(QStringLiteral("frmCap"));
    setWindowTitle(kTitle + QStringLiteral(" - ") + mbCode);

    m_driver = new QComboBox(this);
    m_driver->setObjectName(QStringLiteral("cbDriver"));
    m_format = new QComboBox(this);
    m_format->setObjectName(QStringLiteral("CobFormat"));
    m_preview = new QCheckBox(QStringLiteral("미리보기"), this);
    m_preview->setObjectName(QStringLiteral("chkPreview"));
    m_view = new QLabel(this);
    m_view->setObjectName(QStringLiteral("ImgPreview"));
    m_view->setMinimumSize(320, 240);
    m_view->setAlignment(Qt::AlignCenter);
    m_view->setFrameShape(QFrame::Panel);
    m_view->setFrameShadow(QFrame::Sunken);
    m_save = commandButton(this, QStringLiteral("CmdSaveDib"), QStringLiteral("사진저장"), 90);
    QPushButton *close = commandButton(this, QStringLiteral("Cmd닫기"), QStringLiteral("닫기"), 90);

    auto *top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("장치"), this));
    top->addWidget(m_driver, 1);
    top->addWidget(new QLabel(QStringLiteral("해상도"), this));
    top->addWidget(m_format, 1);
    top->addWidget(m_preview);
    auto *bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(m_save);
    bottom->addWidget(close);
    auto *outer = new QVBoxLayout(this);
    outer->addLayout(top);
    outer->addWidget(m_view, 1);
    outer->addLayout(bottom);
    resize(560, 460);

    m_session = new QMediaCaptureSession(this);
    m_sink = new QVideoSink(this);
    m_session->setVideoOutput(m_sink);
    connect(m_sink, &QVideoSink::videoFrameChanged, this, &CaptureDialog::onFrame);

    const QList<QCameraDevice> devices = QMediaDevices::videoInputs();
    for (const QCameraDevice &d : devices)
        m_driver->addItem(d.description(), QVariant::fromValue(d));
    const bool any = !devices.isEmpty();
    m_driver->setEnabled(any);
    m_format->setEnabled(any);
    m_preview->setEnabled(any);
    m_save->setEnabled(any);
    if (!any)
        m_view->setText(noDeviceText());

    connect(m_driver, &QComboBox::currentIndexChanged, this, &CaptureDialog::selectDevice);
    connect(m_format, &QComboBox::currentIndexChanged, this, &CaptureDialog::selectFormat);
    connect(m_preview, &QCheckBox::toggled, this, &CaptureDialog::setPreview);
    connect(m_save, &QPushButton::clicked, this, [this] { saveFrame(); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    if (any) {
        selectDevice(0);
        m_preview->setChecked(true);
    }
}

CaptureDialog::~CaptureDialog()
{
    if (m_camera)
        m_camera->stop();
}

void CaptureDialog::selectDevice(int index)
{
    if (m_camera) {
        m_camera->stop();
        delete m_camera;
    }
    delete m_imageCapture;
    m_lastFrame = QImage();
    const QCameraDevice device = m_driver->itemData(index).value<QCameraDevice>();
    if (device.isNull())
        return;
    m_camera = new QCamera(device, this);
    m_imageCapture = new QImageCapture(this);
    m_session->setCamera(m_camera);
    m_session->setImageCapture(m_imageCapture);
    connect(m_camera, &QCamera::errorOccurred, this, [this](QCamera::Error, const QString &text) {
        m_view->setText(text);
    });
    connect(m_imageCapture, &QImageCapture::imageCaptured, this, [this](int, const QImage &img) {
        if (!m_waitingForCapture)
            return;
        m_waitingForCapture = false;
        store(img.isNull() ? m_lastFrame : img);
    });

    const QSignalBlocker block(m_format);
    m_format->clear();
    for (const QCameraFormat &f : device.videoFormats())
        m_format->addItem(QStringLiteral("%1 x %2, %3 fps")
                              .arg(f.resolution().width())
                              .arg(f.resolution().height())
                              .arg(int(f.maxFrameRate())),
                          QVariant::fromValue(f));
    if (m_preview->isChecked())
        m_camera->start();
}

void CaptureDialog::selectFormat(int index)
{
    if (!m_camera)
        return;
    const QCameraFormat f = m_format->itemData(index).value<QCameraFormat>();
    if (!f.isNull())
        m_camera->setCameraFormat(f);
}

void CaptureDialog::setPreview(bool on)
{
    if (!m_camera)
        return;
    if (on)
        m_camera->start();
    else
        m_camera->stop();
}

void CaptureDialog::onFrame(const QVideoFrame &frame)
{
    const QImage img = frame.toImage();
    if (img.isNull())
        return;
    m_lastFrame = img;
    m_view->setPixmap(QPixmap::fromImage(img).scaled(m_view->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

bool CaptureDialog::saveFrame()
{
    if (m_imageCapture && m_imageCapture->isReadyForCapture()) {
        m_waitingForCapture = true;
        if (m_imageCapture->capture() >= 0)
            return true;
        m_waitingForCapture = false;
    }
    return store(m_lastFrame);
}

bool CaptureDialog::store(const QImage &image)
{
    if (m_camera)
        m_camera->stop();
    if (image.isNull()) {
        m_ui.msg.warn(QStringLiteral("촬영된 화면이 없습니다. 미리보기를 확인하세요."), kTitle);
        return false;
    }
    if (!saveMemberPhoto(image, m_ui.app.paths.memberPicDir, MbCode)) {
        m_ui.msg.warn(QStringLiteral("경로를 찾을수 없읍니다"), kTitle);
        return false;
    }
    TF = true;
    accept();
    return true;
}

} // namespace fitrova
