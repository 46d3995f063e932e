#pragma once
// The program's settings: read once at the palette's first activation (LoadSettings), written
// once when it closes (SaveSettings), all under the key Software\Brenholtsoft\Skribando.
// Between the two they live in the global settings below, in the print dialog's fields and
// in the palette's position.

#include "platform/settings_store.h"

#include <QPoint>
#include <QRect>
#include <QSize>
#include <array>
#include <optional>
#include <variant>

class QCheckBox;
class QWidget;
class TNumEditQ;

// MauszeigerMode's values: the pointer over the drawing surface.
constexpr qint32 kNormalPointer = 1;
constexpr qint32 kToolSymbolOnly = 2; // no pointer, only the tool's symbol

// The process-wide settings, with their defaults.
struct GlobalSettings {
    qint32 MauszeigerMode = kNormalPointer;
    bool AutoOpen = false;     // Start by itself at program start
    bool AutoClose = false;    // Finish ends the program
    qint32 StiftdickeMode = 3; // stored codes of the last width, colour and tool
    qint32 FarbMode = 1;
    qint32 WerkzeugMode = 1;

    bool operator==(const GlobalSettings&) const = default;
};

GlobalSettings& Settings();

// The print dialog's numeric fields that hold the print layout, in centimetres.
enum class PrintField { LiRand, ObRand, Breite, Hoehe };

// What the settings need of the windows that hold the rest of them; the palette implements it.
class SettingsHost {
public:
    virtual ~SettingsHost() = default;
    // The field's value as its text reads, and the value setter that formats it.
    virtual double printValue(PrintField field) const = 0;
    virtual void setPrintValue(PrintField field, double value) = 0;
    // The print dialog's check box "keep the aspect ratio".
    virtual bool seitRatio() const = 0;
    virtual void setSeitRatio(bool checked) = 0;
    // The palette window's outer frame (caption bar included), in screen pixels.
    virtual QPoint palettePosition() const = 0;
    virtual QSize paletteOuterSize() const = 0;
    virtual void movePalette(QPoint topLeft) = 0; // size unchanged
    // The primary screen's place on the desktop, which need not start at (0, 0): a monitor
    // left of or above it has the desktop's origin.
    virtual QRect primaryScreen() const = 0;
};

// The host made of the real widgets: the print dialog's four numeric fields (in PrintField
// order) and its check box, and the palette window. None may be null.
class WidgetSettingsHost : public SettingsHost {
public:
    WidgetSettingsHost(std::array<TNumEditQ*, 4> printFields, QCheckBox* seitRatio,
                       QWidget* palette);
    double printValue(PrintField field) const override;
    void setPrintValue(PrintField field, double value) override;
    bool seitRatio() const override;
    void setSeitRatio(bool checked) override;
    QPoint palettePosition() const override;
    QSize paletteOuterSize() const override;
    void movePalette(QPoint topLeft) override;
    QRect primaryScreen() const override;

private:
    std::array<TNumEditQ*, 4> fields_;
    QCheckBox* seitRatio_;
    QWidget* palette_;
    std::optional<QPoint> keptPosition_;
};

// Where a stored value lives, which also fixes how it is stored:
// - IntSetting: a global setting, REG_DWORD, signed;
// - FlagSetting: a global boolean, REG_DWORD written 0 or 1, read as true when not 0;
// - PrintMeasure: a print field, REG_BINARY of 8 bytes, a little-endian IEEE-754 double;
// - SeitRatioFlag: the print dialog's check box, REG_DWORD like a flag;
// - PaletteEdge: the palette's left or top edge, REG_DWORD, signed screen pixels.
struct IntSetting {
    qint32 GlobalSettings::*member;
};
struct FlagSetting {
    bool GlobalSettings::*member;
};
struct PrintMeasure {
    PrintField field;
};
struct SeitRatioFlag {};
enum class PaletteEdge { Left, Top };
using SettingHome = std::variant<IntSetting, FlagSetting, PrintMeasure, SeitRatioFlag, PaletteEdge>;

struct SettingDef {
    const char* name;
    SettingHome home;
};

// The thirteen stored values, in the order they are read and written. A value that is
// missing, or has another type or size, leaves its home as it is: the global settings keep
// their defaults, the print fields their design values, the palette its current place.
extern const std::array<SettingDef, 13> kSettingsTable;

// The palette keeps at least this much of its height (the caption bar) above the screen's
// bottom edge.
constexpr int kKeepVisibleHeight = 21;

// Reads every stored value (opening the key creates it on a first run), then moves the palette
// to its stored place, clamped so it does not lie beyond the primary screen's right edge and
// keeps its caption bar above that screen's bottom edge; there is no lower bound. Fails when the
// key could not be opened: then only the clamp of the current place is done.
Outcome LoadSettings(SettingsHost& host, KeyStore& store, GlobalSettings& settings = Settings());

// Writes all thirteen values, changed or not. Fails when they could not be stored, in which
// case what was stored before is kept.
Outcome SaveSettings(const SettingsHost& host, KeyStore& store,
                     const GlobalSettings& settings = Settings());

// The same with the settings file of the user (RegFileStore, defaultSettingsFile()).
Outcome LoadSettings(SettingsHost& host);
Outcome SaveSettings(const SettingsHost& host);
