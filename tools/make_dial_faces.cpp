// Draws the three dial faces of the General page (engine speed, throttle signal, gas
// injection time) and writes them as JPEG pictures, 165 x 165 pixels each:
//
//   make_dial_faces <output folder>
//
// A development tool: the pictures it writes live in resources/dials and are built into the
// program from there; the build never runs this tool.
//
// Geometry matches the needle drawn over the face: the needle turns about pixel
// (width div 2, width div 2), and a value's angle a (degrees) points to
// (centre + sin(a) * r, centre + cos(a) * r) with y growing downward, 300 degrees at the
// scale's minimum (lower left), 180 straight up, 60 at the maximum (lower right).
// Everything outside the face is white, as is the needle picture's see-through colour.
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>
#include <string>
#include <vector>

namespace {

constexpr int Size = 165;
constexpr double Angle_At_Min = 300.0;
constexpr double Angle_At_Max = 60.0;

struct Dial {
    const char* File_Name;
    double Min, Max;        // scale range in the numbers printed on the face
    double Major_Step;      // a numbered tick every Major_Step
    double Minor_Step;      // a short tick every Minor_Step
    int Decimals;           // digits after the point in the numbers
    const char* Unit;       // printed below the centre
    const char* Title;      // printed above the centre
    QColor Accent;          // the needle's colour, used for the title
};

const Dial Dials[] = {
    {"dial_rpm.jpg", 0, 5, 1, 0.25, 0, "x1000 rpm", "RPM", QColor(0, 0, 255)},
    {"dial_tps.jpg", 0, 5, 1, 0.25, 0, "V", "TPS", QColor(128, 0, 128)},
    {"dial_gas.jpg", 0, 32, 4, 1, 0, "ms", "GAS", QColor(0, 128, 0)},
};

// The needle's pivot is the centre of pixel (Size / 2, Size / 2); antialiased painting
// addresses pixel centres at .5.
const double Centre = Size / 2 + 0.5;

double Angle_Of(const Dial& D, double Value)
{
    return Angle_At_Min - (Value - D.Min) * (Angle_At_Min - Angle_At_Max) / (D.Max - D.Min);
}

QPointF At(double Angle_Degrees, double Radius)
{
    const double W = Angle_Degrees * M_PI / 180.0;
    return QPointF(Centre + std::sin(W) * Radius, Centre + std::cos(W) * Radius);
}

QImage Draw_Dial(const Dial& D)
{
    QImage Image(Size, Size, QImage::Format_RGB32);
    Image.fill(Qt::white);
    QPainter P(&Image);
    P.setRenderHint(QPainter::Antialiasing, true);
    P.setRenderHint(QPainter::TextAntialiasing, true);

    const double Outer = 80.5;          // outer ring
    const double Scale_Radius = 76.0;   // outer end of the ticks
    const QColor Ink(30, 30, 30);

    // Face and ring.
    P.setPen(QPen(QColor(90, 90, 90), 2.0));
    P.setBrush(Qt::white);
    P.drawEllipse(QPointF(Centre, Centre), Outer, Outer);

    // Scale arc from the minimum over the top to the maximum. Qt counts angles
    // counter-clockwise from three o'clock with y growing upward; ours point to
    // (sin a, cos a) with y growing downward, so Qt's angle is ours - 90.
    {
        const double R = Scale_Radius;
        const QRectF Box(Centre - R, Centre - R, 2 * R, 2 * R);
        const double Start = Angle_At_Min - 90.0;                   // 210, lower left
        const double Span = (Angle_At_Min - Angle_At_Max);          // 240, clockwise
        P.setPen(QPen(Ink, 1.6, Qt::SolidLine, Qt::FlatCap));
        P.setBrush(Qt::NoBrush);
        P.drawArc(Box, static_cast<int>(std::lround(Start * 16)),
                  -static_cast<int>(std::lround(Span * 16)));
    }

    // Ticks: long and thick at the numbered values, short in between.
    const int Minor_Count = static_cast<int>(std::lround((D.Max - D.Min) / D.Minor_Step));
    const int Minors_Per_Major = static_cast<int>(std::lround(D.Major_Step / D.Minor_Step));
    for (int I = 0; I <= Minor_Count; ++I) {
        const double Value = D.Min + I * D.Minor_Step;
        const double A = Angle_Of(D, Value);
        const bool Major = I % Minors_Per_Major == 0;
        const bool Half = !Major && Minors_Per_Major % 2 == 0 && I % (Minors_Per_Major / 2) == 0;
        const double Inner = Scale_Radius - (Major ? 11.0 : Half ? 7.5 : 5.0);
        P.setPen(QPen(Ink, Major ? 2.6 : 1.2, Qt::SolidLine, Qt::FlatCap));
        P.drawLine(At(A, Inner), At(A, Scale_Radius));
    }

    // Numbers inside the ticks.
    QFont Number_Font("DejaVu Sans");
    Number_Font.setPixelSize(14);
    Number_Font.setBold(true);
    P.setFont(Number_Font);
    P.setPen(Ink);
    const int Major_Count = static_cast<int>(std::lround((D.Max - D.Min) / D.Major_Step));
    for (int I = 0; I <= Major_Count; ++I) {
        const double Value = D.Min + I * D.Major_Step;
        const QPointF C = At(Angle_Of(D, Value), 52.0);
        const QString Text = QString::number(Value, 'f', D.Decimals);
        const QRectF Box(C.x() - 16, C.y() - 9, 32, 18);
        P.drawText(Box, Qt::AlignCenter, Text);
    }

    // Title above the centre, unit below it.
    QFont Title_Font("DejaVu Sans");
    Title_Font.setPixelSize(12);
    Title_Font.setBold(true);
    P.setFont(Title_Font);
    P.setPen(D.Accent);
    P.drawText(QRectF(Centre - 40, Centre - 34, 80, 16), Qt::AlignCenter, D.Title);
    QFont Unit_Font("DejaVu Sans");
    Unit_Font.setPixelSize(11);
    P.setFont(Unit_Font);
    P.setPen(Ink);
    P.drawText(QRectF(Centre - 45, Centre + 40, 90, 16), Qt::AlignCenter, D.Unit);

    // Hub under the needle's base.
    P.setPen(Qt::NoPen);
    P.setBrush(QColor(60, 60, 60));
    P.drawEllipse(QPointF(Centre, Centre), 4.0, 4.0);
    P.end();
    return Image;
}

bool Write_JPEG(const QImage& Image, const std::string& Path)
{
    FILE* File = std::fopen(Path.c_str(), "wb");
    if (!File) return false;
    jpeg_compress_struct Info;
    jpeg_error_mgr Errors;
    Info.err = jpeg_std_error(&Errors);
    jpeg_create_compress(&Info);
    jpeg_stdio_dest(&Info, File);
    Info.image_width = static_cast<JDIMENSION>(Image.width());
    Info.image_height = static_cast<JDIMENSION>(Image.height());
    Info.input_components = 3;
    Info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&Info);
    jpeg_set_quality(&Info, 95, TRUE);
    // Full-resolution colour keeps thin coloured strokes crisp.
    for (int C = 0; C < Info.num_components; ++C) {
        Info.comp_info[C].h_samp_factor = 1;
        Info.comp_info[C].v_samp_factor = 1;
    }
    jpeg_start_compress(&Info, TRUE);
    std::vector<unsigned char> Row(static_cast<size_t>(Image.width()) * 3);
    while (Info.next_scanline < Info.image_height) {
        const int Y = static_cast<int>(Info.next_scanline);
        for (int X = 0; X < Image.width(); ++X) {
            const QRgb C = Image.pixel(X, Y);
            Row[X * 3] = static_cast<unsigned char>(qRed(C));
            Row[X * 3 + 1] = static_cast<unsigned char>(qGreen(C));
            Row[X * 3 + 2] = static_cast<unsigned char>(qBlue(C));
        }
        JSAMPROW Rows[1] = {Row.data()};
        jpeg_write_scanlines(&Info, Rows, 1);
    }
    jpeg_finish_compress(&Info);
    jpeg_destroy_compress(&Info);
    return std::fclose(File) == 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication App(argc, argv);
    const std::string Folder = argv[1];
    for (const Dial& D : Dials) {
        const std::string Path = Folder + "/" + D.File_Name;
        if (!Write_JPEG(Draw_Dial(D), Path)) {
            std::fprintf(stderr, "cannot write %s\n", Path.c_str());
            return 1;
        }
        std::printf("%s\n", Path.c_str());
    }
    return 0;
}
