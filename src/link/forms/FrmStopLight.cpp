// SPDX-License-Identifier: GPL-3.0-or-later
#include "FrmStopLight.h"

#include "Screen.h"

#include <QIcon>

namespace {

/// One image control holding a stop light drawn at 32 and 16 pixels; it shows the larger.
QLabel* lightImage(const char* name, const QString& stem, QWidget* parent) {
    QIcon icon;
    icon.addPixmap(::picture(stem));
    icon.addPixmap(::picture(stem + QStringLiteral("_16")));
    auto* image = new QLabel(parent);
    image->setObjectName(QLatin1String(name));
    image->setPixmap(icon.pixmap(QSize(32, 32)));
    return image;
}

} // namespace

FrmStopLight::FrmStopLight() : Form(QStringLiteral("FrmStopLight")) {}

void FrmStopLight::Form_Load() {
    QWidget* w = window();
    ImgRed = lightImage("ImgRed", QStringLiteral("light_red"), w);
    ImgYellow = lightImage("ImgYellow", QStringLiteral("light_yellow"), w);
    ImgGreen = lightImage("ImgGreen", QStringLiteral("light_green"), w);
    ImgLight = new QLabel(w);
    ImgLight->setObjectName(QStringLiteral("ImgLight"));
}

QPixmap FrmStopLight::picture(Light light) {
    FrmStopLight& lights = Forms::get<FrmStopLight>();
    lights.load();
    switch (light) {
    case Light::Yellow:
        return lights.ImgYellow->pixmap();
    case Light::Green:
        return lights.ImgGreen->pixmap();
    case Light::Red:
        break;
    }
    return lights.ImgRed->pixmap();
}
