// Saves a picture of the whole X screen: vireonScreenGrab <file.png>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

#include <cstdio>

int main(int argc, char* argv[])
{
  if (argc != 2)
  {
    std::fprintf(stderr, "usage: vireonScreenGrab <file.png>\n");
    return 2;
  }
  QGuiApplication app(argc, argv);
  QScreen* screen = QGuiApplication::primaryScreen();
  const QPixmap picture = screen != nullptr ? screen->grabWindow(0) : QPixmap();
  if (picture.isNull() || !picture.save(QString::fromLocal8Bit(argv[1])))
  {
    std::fprintf(stderr, "vireonScreenGrab: could not grab the screen into %s\n", argv[1]);
    return 1;
  }
  return 0;
}
