// Renders one of our SVG drawings to square PNG files at the given sizes, for the desktop's
// fixed-size icon folders: render_icon DRAWING.svg OUTPUT_FOLDER NAME SIZE...
// writes OUTPUT_FOLDER/SIZExSIZE/apps/NAME.png for each size.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char** argv) {
  // No display is needed to paint into an image.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const QStringList args = app.arguments();
  if (args.size() < 5) {
    std::fprintf(stderr, "usage: render_icon DRAWING.svg OUTPUT_FOLDER NAME SIZE...\n");
    return 2;
  }
  QSvgRenderer drawing(args[1]);
  if (!drawing.isValid()) {
    std::fprintf(stderr, "render_icon: cannot read %s\n", qPrintable(args[1]));
    return 1;
  }
  for (qsizetype i = 4; i < args.size(); ++i) {
    bool number = false;
    const int pixels = args[i].toInt(&number);
    if (!number || pixels < 1 || pixels > 4096) {
      std::fprintf(stderr, "render_icon: bad size %s\n", qPrintable(args[i]));
      return 2;
    }
    const QString folder = QStringLiteral("%1/%2x%2/apps").arg(args[2]).arg(pixels);
    QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    drawing.render(&painter);
    painter.end();
    if (!QDir().mkpath(folder) || !image.save(folder + QLatin1Char('/') + args[3] + ".png")) {
      std::fprintf(stderr, "render_icon: cannot write into %s\n", qPrintable(folder));
      return 1;
    }
  }
  return 0;
}
