#include "app/settings.h"

#include "app/delay_and_min_max.h"
#include "app/window_frame.h"
#include "platform/reg_file_store.h"
#include "platform/wayland_client.h"

#include "controls/num_edit.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QScreen>
#include <cmath>

GlobalSettings& Settings() {
    static GlobalSettings settings;
    return settings;
}

const std::array<SettingDef, 13> kSettingsTable = {{
    {"MauszeigerMode", IntSetting{&GlobalSettings::MauszeigerMode}},
    {"AutoOpen", FlagSetting{&GlobalSettings::AutoOpen}},
    {"AutoClose", FlagSetting{&GlobalSettings::AutoClose}},
    {"StiftdickeMode", IntSetting{&GlobalSettings::StiftdickeMode}},
    {"FarbMode", IntSetting{&GlobalSettings::FarbMode}},
    {"WerkzeugMode", IntSetting{&GlobalSettings::WerkzeugMode}},
    {"Drucken-LiRand", PrintMeasure{PrintField::LiRand}},
    {"Drucken-ObRand", PrintMeasure{PrintField::ObRand}},
    {"Drucken-Breite", PrintMeasure{PrintField::Breite}},
    {"Drucken-Hoehe", PrintMeasure{PrintField::Hoehe}},
    {"Drucken-SeitRatio", SeitRatioFlag{}},
    {"WinPos-Left", PaletteEdge::Left},
    {"WinPos-Top", PaletteEdge::Top},
}};

namespace {

template <class... Handlers> struct Overloaded : Handlers... { using Handlers::operator()...; };
// Spelled out for compilers without deduction from aggregate initialisation (clang before 17).
template <class... Handlers> Overloaded(Handlers...) -> Overloaded<Handlers...>;

int& edgeOf(QPoint& position, PaletteEdge edge) {
    return edge == PaletteEdge::Left ? position.rx() : position.ry();
}

} // namespace

Outcome LoadSettings(SettingsHost& host, KeyStore& store, GlobalSettings& settings) {
    QPoint position = host.palettePosition();
    Outcome opened = store.openKey(kSettingsKeyPath);
    if (opened) {
        for (const SettingDef& def : kSettingsTable) {
            const QString name = QString::fromLatin1(def.name);
            std::visit(Overloaded{
                           [&](IntSetting home) {
                               if (auto value = store.readDword(name))
                                   settings.*home.member = *value;
                           },
                           [&](FlagSetting home) {
                               if (auto value = store.readDword(name))
                                   settings.*home.member = *value != 0;
                           },
                           [&](PrintMeasure home) {
                               // Not a number or infinite is no measure: the field keeps its own.
                               auto value = store.readDouble(name);
                               if (value && std::isfinite(*value))
                                   host.setPrintValue(home.field, *value);
                           },
                           [&](SeitRatioFlag) {
                               if (auto value = store.readDword(name))
                                   host.setSeitRatio(*value != 0);
                           },
                           [&](PaletteEdge edge) {
                               if (auto value = store.readDword(name))
                                   edgeOf(position, edge) = *value;
                           },
                       },
                       def.home);
        }
        // Nothing was written, so closing stores nothing that could fail.
        (void)store.closeKey();
    }
    const QRect screen = host.primaryScreen();
    position.setX(Min(position.x(), screen.x() + screen.width() - host.paletteOuterSize().width()));
    position.setY(Min(position.y(), screen.y() + screen.height() - kKeepVisibleHeight));
    host.movePalette(position);
    return opened;
}

Outcome SaveSettings(const SettingsHost& host, KeyStore& store, const GlobalSettings& settings) {
    if (Outcome opened = store.openKey(kSettingsKeyPath); !opened)
        return opened;
    QPoint position = host.palettePosition();
    for (const SettingDef& def : kSettingsTable) {
        const QString name = QString::fromLatin1(def.name);
        std::visit(
            Overloaded{
                [&](IntSetting home) { store.writeDword(name, settings.*home.member); },
                [&](FlagSetting home) { store.writeDword(name, settings.*home.member); },
                [&](PrintMeasure home) { store.writeDouble(name, host.printValue(home.field)); },
                [&](SeitRatioFlag) { store.writeDword(name, host.seitRatio()); },
                [&](PaletteEdge edge) { store.writeDword(name, edgeOf(position, edge)); },
            },
            def.home);
    }
    return store.closeKey();
}

Outcome LoadSettings(SettingsHost& host) {
    RegFileStore store;
    return LoadSettings(host, store);
}

Outcome SaveSettings(const SettingsHost& host) {
    RegFileStore store;
    return SaveSettings(host, store);
}

WidgetSettingsHost::WidgetSettingsHost(std::array<TNumEditQ*, 4> printFields, QCheckBox* seitRatio,
                                       QWidget* palette)
    : fields_(printFields), seitRatio_(seitRatio), palette_(palette) {}

double WidgetSettingsHost::printValue(PrintField field) const {
    return fields_[static_cast<size_t>(field)]->Value();
}

void WidgetSettingsHost::setPrintValue(PrintField field, double value) {
    fields_[static_cast<size_t>(field)]->setValue(value);
}

bool WidgetSettingsHost::seitRatio() const {
    return seitRatio_->isChecked();
}

void WidgetSettingsHost::setSeitRatio(bool checked) {
    seitRatio_->setChecked(checked);
}

// A window's pos() and move() are those of its outer frame, caption bar included.
// A Wayland compositor places the palette itself and tells no position worth keeping (and a
// palette inside the surface has none on the screen): there the stored one stays as read.
QPoint WidgetSettingsHost::palettePosition() const {
    return keptPosition_ ? *keptPosition_ : palette_->pos();
}

QSize WidgetSettingsHost::paletteOuterSize() const {
    return KnownFrameGeometry(*palette_).size();
}

void WidgetSettingsHost::movePalette(QPoint topLeft) {
    if (RunsAsWaylandClient())
        keptPosition_ = topLeft;
    palette_->move(topLeft);
}

QRect WidgetSettingsHost::primaryScreen() const {
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect();
}
