// Loads every installed designer plug-in collection and creates each of its widgets: the
// plug-ins find their widget libraries in the installed tree.
#include <QApplication>
#include <QDesignerCustomWidgetCollectionInterface>
#include <QDesignerCustomWidgetInterface>
#include <QDir>
#include <QPluginLoader>
#include <QWidget>

#include <cstdio>
#include <memory>

int main(int argc, char* argv[])
{
  QApplication app(argc, argv);
  const QDir folder(QStringLiteral(DESIGNER_PLUGIN_DIR));
  int collections = 0;
  int widgets = 0;
  int failures = 0;
  for (const QString& file : folder.entryList(QStringList() << QStringLiteral("*.so"), QDir::Files))
  {
    QPluginLoader loader(folder.absoluteFilePath(file));
    auto* collection = qobject_cast<QDesignerCustomWidgetCollectionInterface*>(loader.instance());
    if (collection == nullptr)
    {
      std::fprintf(stderr, "%s: %s\n", qPrintable(file), qPrintable(loader.errorString()));
      ++failures;
      continue;
    }
    ++collections;
    for (QDesignerCustomWidgetInterface* plugin : collection->customWidgets())
    {
      std::unique_ptr<QWidget> widget(plugin->createWidget(nullptr));
      if (!widget || plugin->name() != QLatin1String(widget->metaObject()->className()))
      {
        std::fprintf(
          stderr, "%s: cannot create %s\n", qPrintable(file), qPrintable(plugin->name()));
        ++failures;
      }
      ++widgets;
    }
  }
  if (collections != EXPECTED_COLLECTIONS || failures > 0)
  {
    std::fprintf(stderr,
      "consumer-designer: %d collections, %d failures in %s\n",
      collections,
      failures,
      qPrintable(folder.path()));
    return 1;
  }
  std::printf("consumer-designer: %d collections, %d widgets: ok\n", collections, widgets);
  return 0;
}
