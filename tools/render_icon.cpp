// Build step: draws the application icon as PNGs for the hicolor theme.
//   render_icon SVG FOLDER NAME SIZE...   writes FOLDER/<SIZE>x<SIZE>/apps/NAME.png

#include <iostream>
#include <string>

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QSaveFile>
#include <QSvgRenderer>

int main(int argc, char** argv) {
  if (argc < 5) {
    std::cerr << "usage: render_icon SVG FOLDER NAME SIZE...\n";
    return 2;
  }
  QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
  if (!renderer.isValid()) {
    std::cerr << argv[1] << ": not a picture QtSvg can draw\n";
    return 1;
  }
  for (int i = 4; i < argc; ++i) {
    const int size = std::stoi(argv[i]);
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter);
    painter.end();

    const QString folder = QString("%1/%2x%2/apps").arg(QString::fromLocal8Bit(argv[2])).arg(size);
    QSaveFile file(QString("%1/%2.png").arg(folder, QString::fromLocal8Bit(argv[3])));
    if (!QDir().mkpath(folder) || !file.open(QIODevice::WriteOnly) || !image.save(&file, "PNG") || !file.commit()) {
      std::cerr << file.fileName().toStdString() << ": " << file.errorString().toStdString() << '\n';
      return 1;
    }
  }
  return 0;
}
