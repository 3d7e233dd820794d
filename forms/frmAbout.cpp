#include "forms/frmAbout.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSysInfo>
#include <QVBoxLayout>
#include <QtGlobal>
#include <exception>

#include "common/version.h"
#include "engine/hygrel_binding.h"
#include "engine/msgbox.h"
#include "forms/badge_icon.h"

frmAbout::frmAbout(QWidget* parent) : QDialog(parent) {
    setObjectName("frmAbout");
    setWindowTitle("About KVN Performance");
    setModal(true);

    auto* icon = new QLabel(this);
    icon->setObjectName("picIcon");
    icon->setPixmap(KvnBadgeIcon().pixmap(48, 48));
    icon->setAlignment(Qt::AlignTop);

    auto* title = new QLabel("KVN Performance", this);
    title->setObjectName("lblTitle");
    QFont tf = title->font();
    tf.setBold(true);
    tf.setPointSizeF(tf.pointSizeF() * 1.5);
    title->setFont(tf);
    auto* version = new QLabel(QString("Version ") + kvn::kVersion, this);
    version->setObjectName("lblVersion");
    auto* desc = new QLabel(
        "Performance rating of finned-tube coils: water, glycol, steam,\n"
        "direct-expansion evaporators and refrigerant condensers.",
        this);
    desc->setObjectName("lblDescription");

    auto* text = new QVBoxLayout;
    text->addWidget(title);
    text->addWidget(version);
    text->addSpacing(8);
    text->addWidget(desc);
    text->addStretch(1);
    auto* top = new QHBoxLayout;
    top->addWidget(icon);
    top->addSpacing(12);
    top->addLayout(text, 1);

    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("cmdOK");
    ok->setDefault(true);
    auto* info = new QPushButton("&System Info...", this);
    info->setObjectName("cmdSysInfo");
    info->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(info, &QPushButton::clicked, this, [this] { cmdSysInfo_Click(); });
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(info);
    buttons->addStretch(1);
    top->addLayout(buttons);

    auto* v = new QVBoxLayout(this);
    v->addLayout(top);
    v->setSizeConstraint(QLayout::SetFixedSize);
}

std::string frmAbout::SystemInfoText() {
    std::string path = hg::LoadedLibraryPath();
    if (path.empty()) {
        // The library loads at its first call; make that call now so its
        // place can be shown.
        try {
            (void)hg::HGSATVP(70.0f);
        } catch (const std::exception&) {
        }
        path = hg::LoadedLibraryPath();
    }
    std::string text;
    text += "Operating system: " + QSysInfo::prettyProductName().toStdString() + " (" +
            QSysInfo::kernelType().toStdString() + " " + QSysInfo::kernelVersion().toStdString() + ", " +
            QSysInfo::currentCpuArchitecture().toStdString() + ")\n";
    text += std::string("Qt version: ") + qVersion() + "\n";
    text += "Hygrel32 library: " + (path.empty() ? std::string("not found") : path);
    return text;
}

void frmAbout::cmdSysInfo_Click() {
    ShowMessage(SystemInfoText(), MsgIcon::Information, "System Information");
}
