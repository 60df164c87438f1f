#include "platform/ui/Panel.h"
#include "platform/ui/Internal.h"
#include <QApplication>
#include <QGlyphRun>
#include <QGroupBox>
#include <QPainter>
#include <QPainterPath>
#include <QRawFont>
#include <QResizeEvent>
#include <QTextLayout>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

namespace {

// The painter keeps rasterised glyphs only up to this pixel size; larger ones it loads as
// outlines at every paint, running the font's hinting program for each glyph. A panel
// writing that large (a live value read from across the room) keeps the outline of each
// glyph it has written and fills the outlines itself, exactly where and as the painter
// would, so that a new value costs only the fill.
constexpr int Painter_Glyph_Cache_Pixels = 64;
// Positions are in 1/64 pixel, as the painter places glyphs.
constexpr int Sub_Pixels = 64;

class Glyph_Outlines {
public:
    // Draws Text into R as QPainter::drawText(R, Flags, Text) draws one line of plain
    // text; false (nothing drawn) where it cannot: mnemonics, line breaks, tabs, length
    // variants, decorations, right-to-left text, or a font the painter caches itself.
    bool Draw(QPainter& P, const QRect& R, int Flags, const QString& Text);

private:
    using Key = std::tuple<QString, qreal, quint32>;   // font face, pixel size, glyph
    const QPainterPath& Outline(const QRawFont& Font, quint32 Index);

    QFont Font;
    std::map<Key, QPainterPath> Outlines;
};

bool Glyph_Outlines::Draw(QPainter& P, const QRect& R, int Flags, const QString& Text)
{
    const QFont& F = P.font();
    if (F.pixelSize() <= Painter_Glyph_Cache_Pixels || F.underline() || F.strikeOut() ||
        F.overline() || P.layoutDirection() != Qt::LeftToRight || Text.isEmpty())
        return false;
    for (QChar C : Text)
        if (C == u'&' || C == u'\n' || C == u'\r' || C == u'\t' || C == QChar(ushort(0x9c)) ||
            C.direction() == QChar::DirR || C.direction() == QChar::DirAL)
            return false;
    if (F != Font) {
        Outlines.clear();
        Font = F;
    }
    // The line laid out as the painter lays out a caption: one line, left-aligned within
    // the layout, trailing blanks counted, then placed by the flags.
    QTextLayout Layout(Text, F, P.device());
    QTextOption Option;
    Option.setTextDirection(Qt::LeftToRight);
    Option.setAlignment(Qt::AlignLeft);
    Option.setFlags(Option.flags() | QTextOption::IncludeTrailingSpaces);
    Layout.setTextOption(Option);
    Layout.setCacheEnabled(true);
    Layout.beginLayout();
    QTextLine Line = Layout.createLine();
    if (!Line.isValid()) {
        Layout.endLayout();
        return false;
    }
    Line.setLineWidth(0x01000000);
    Line.setPosition(QPointF(0, 0));
    Layout.endLayout();
    const qreal Height = Line.ascent() + Line.descent();
    const qreal Width = Line.naturalTextWidth();
    qreal X = 0, Y = 0;
    if (Flags & Qt::AlignBottom) Y = R.height() - Height;
    else if (Flags & Qt::AlignVCenter) Y = (R.height() - Height) / 2;
    const qreal Advance = Line.horizontalAdvance();
    if (Flags & Qt::AlignRight) X = R.width() - Advance;
    else if (Flags & Qt::AlignHCenter) X = (R.width() - Advance) / 2;
    // The painter takes the line's origin to 1/64 pixel (cutting off the rest) and adds
    // the glyphs' positions, which are whole 1/64ths; it fills all the glyphs' outlines,
    // placed there, as one path with the pen's brush.
    const int Origin_X = static_cast<int>((R.x() + X) * Sub_Pixels);
    const int Origin_Y = static_cast<int>((R.y() + Y) * Sub_Pixels);
    QPainterPath Glyphs;
    Glyphs.setFillRule(Qt::WindingFill);
    for (const QGlyphRun& Run : Layout.glyphRuns()) {
        const QList<quint32> Indexes = Run.glyphIndexes();
        const QList<QPointF> Positions = Run.positions();
        for (qsizetype I = 0; I < Indexes.size(); ++I) {
            const int Gx = Origin_X + static_cast<int>(std::lround(Positions[I].x() * Sub_Pixels));
            const int Gy = Origin_Y + static_cast<int>(std::lround(Positions[I].y() * Sub_Pixels));
            Glyphs.addPath(Outline(Run.rawFont(), Indexes[I])
                               .translated(qreal(Gx) / Sub_Pixels, qreal(Gy) / Sub_Pixels));
        }
    }
    if (Glyphs.isEmpty()) return true;
    const bool Clip = !QRectF(R).contains(QRectF(R.x() + X, R.y() + Y, Width, Height));
    if (Clip) {
        P.save();
        P.setClipRect(R, Qt::IntersectClip);
    }
    P.fillPath(Glyphs, P.pen().brush());
    if (Clip) P.restore();
    return true;
}

const QPainterPath& Glyph_Outlines::Outline(const QRawFont& Raw, quint32 Index)
{
    const Key K{Raw.familyName() + u'/' + Raw.styleName(), Raw.pixelSize(), Index};
    auto Found = Outlines.find(K);
    if (Found == Outlines.end()) Found = Outlines.emplace(K, Raw.pathForGlyph(Index)).first;
    return Found->second;
}

class Panel_Widget : public QWidget {
public:
    Panel_Widget() { setAttribute(Qt::WA_OpaquePaintEvent); }
    TPanel* Panel = nullptr;
    QColor Fill = ui::To_QColor(clBtnFace);
    Glyph_Outlines Glyphs;

protected:
    void resizeEvent(QResizeEvent* Event) override
    {
        QWidget::resizeEvent(Event);
        if (Panel && TControl::From_Widget(this)) Panel->Tell_Children();
    }

    // The panel fills all of itself (it is marked so, and nothing beneath it is painted
    // first); once its control is freed it keeps its last colour until it goes.
    void paintEvent(QPaintEvent*) override
    {
        QPainter P(this);
        QRect R = rect();
        if (!Panel || !TControl::From_Widget(this)) {
            P.fillRect(R, Fill);
            return;
        }
        Fill = ui::To_QColor(Panel->Shown_Colour());
        P.fillRect(R, Fill);
        const QColor Light = ui::To_QColor(clBtnHighlight);
        const QColor Dark = ui::To_QColor(clBtnShadow);
        auto Frame = [&](bool Raised, int Width) {
            for (int I = 0; I < Width; ++I) {
                P.setPen(Raised ? Light : Dark);
                P.drawLine(R.left(), R.top(), R.right(), R.top());
                P.drawLine(R.left(), R.top(), R.left(), R.bottom());
                P.setPen(Raised ? Dark : Light);
                P.drawLine(R.left(), R.bottom(), R.right(), R.bottom());
                P.drawLine(R.right(), R.top(), R.right(), R.bottom());
                R.adjust(1, 1, -1, -1);
            }
        };
        if (Panel->Border_Single()) {
            P.setPen(ui::To_QColor(clBlack));
            P.drawRect(R.adjusted(0, 0, -1, -1));
            R.adjust(1, 1, -1, -1);
        }
        if (Panel->BevelOuter() == TBevel_Cut::Raised || Panel->BevelOuter() == TBevel_Cut::Lowered)
            Frame(Panel->BevelOuter() == TBevel_Cut::Raised, Panel->BevelWidth());
        else if (Panel->BevelOuter() == TBevel_Cut::Space)
            R.adjust(Panel->BevelWidth(), Panel->BevelWidth(), -Panel->BevelWidth(), -Panel->BevelWidth());
        if (Panel->BevelInner() == TBevel_Cut::Raised || Panel->BevelInner() == TBevel_Cut::Lowered)
            Frame(Panel->BevelInner() == TBevel_Cut::Raised, Panel->BevelWidth());
        if (Panel->Caption().empty()) return;
        int Flags = Qt::AlignVCenter | Qt::TextShowMnemonic;
        switch (Panel->Alignment()) {
        case TAlignment::Left_Justify: Flags |= Qt::AlignLeft; break;
        case TAlignment::Right_Justify: Flags |= Qt::AlignRight; break;
        default: Flags |= Qt::AlignHCenter; break;
        }
        P.setFont(font());
        // A disabled panel writes its caption in the toolkit's disabled text colour.
        P.setPen(Panel->Enabled() ? ui::To_QColor(Panel->Font().Color())
                                  : QApplication::palette(this).color(QPalette::Disabled, QPalette::WindowText));
        const QString Text = ui::Caption_Text(Panel->Caption(), Panel->Text_Charset());
        if (!Glyphs.Draw(P, R, Flags, Text)) P.drawText(R, Flags, Text);
    }
};

}  // namespace

TPanel::TPanel(TComponent* Owner, TControl* Parent) : TControl(Owner, new Panel_Widget)
{
    static_cast<Panel_Widget*>(FWidget)->Panel = this;
    FWidget->resize(185, 41);
    if (Parent) this->Parent(Parent);
}

void TPanel::Caption(const std::string& Value)
{
    if (Value == FCaption) return;
    FCaption = Value;
    Invalidate();
    Tell_Children();
}

void TPanel::Alignment(TAlignment Value)
{
    FAlignment = Value;
    Invalidate();
}

void TPanel::BevelOuter(TBevel_Cut Value)
{
    FBevel_Outer = Value;
    Invalidate();
    Tell_Children();
}

void TPanel::BevelInner(TBevel_Cut Value)
{
    FBevel_Inner = Value;
    Invalidate();
    Tell_Children();
}

void TPanel::BevelWidth(int Value)
{
    FBevel_Width = std::max(1, Value);
    Invalidate();
    Tell_Children();
}

void TPanel::Border_Single(bool Value)
{
    FBorder_Single = Value;
    Invalidate();
    Tell_Children();
}

void TPanel::Refresh_Texts() { Invalidate(); }

void TPanel::Tell_Children()
{
    for (TControl* Child : FControls) Child->Backdrop_Changed();
}

void TPanel::Apply_Color()
{
    Invalidate();
    Tell_Children();
    // A panel without children (a status lamp that changes colour twice per poll) only
    // paints itself again: setting the palette would propagate it through the widget tree.
    // The palette follows once a child comes.
    if (FControls.empty()) {
        FPalette_Deferred = true;
        return;
    }
    FPalette_Deferred = false;
    TControl::Apply_Color();
}

// ---------------------------------------------------------------- TGroupBox

TGroupBox::TGroupBox(TComponent* Owner, TControl* Parent) : TControl(Owner, new QGroupBox)
{
    FWidget->resize(185, 105);
    if (Parent) this->Parent(Parent);
}

void TGroupBox::Caption(const std::string& Value)
{
    FCaption = Value;
    Refresh_Texts();
}

void TGroupBox::Refresh_Texts()
{
    if (auto* Box = qobject_cast<QGroupBox*>(FWidget))
        Box->setTitle(ui::Caption_Text(FCaption, Text_Charset()));
}
