#ifndef qVireonTestMessageCapture_h
#define qVireonTestMessageCapture_h

// Helpers for GoogleTest tests of Qt classes.
//
//   qVireonTestMessageCapture messages;   // installs a Qt message handler, restores the old one
//   plugin->icon(invalidItem);
//   ASSERT_EQ(messages.criticals().size(), 1);
//   EXPECT_TRUE(messages.criticals()[0].endsWith(": Invalid input item"));
//
// qVireonTestApplicationEnvironment creates the QApplication that widgets, actions and icons need:
//   static auto* env = ::testing::AddGlobalTestEnvironment(new qVireonTestApplicationEnvironment);

#include <QApplication>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <gtest/gtest.h>

#include <memory>

class qVireonTestMessageCapture
{
public:
  qVireonTestMessageCapture()
  {
    Current = this;
    this->Previous = qInstallMessageHandler(&qVireonTestMessageCapture::handle);
  }
  ~qVireonTestMessageCapture()
  {
    qInstallMessageHandler(this->Previous);
    Current = nullptr;
  }
  qVireonTestMessageCapture(const qVireonTestMessageCapture&) = delete;
  qVireonTestMessageCapture& operator=(const qVireonTestMessageCapture&) = delete;

  /// Messages logged with qCritical(), in order.
  const QStringList& criticals() const { return this->Criticals; }
  /// Every other message (debug, info, warning).
  const QStringList& others() const { return this->Others; }
  void clear()
  {
    this->Criticals.clear();
    this->Others.clear();
  }

private:
  static void handle(QtMsgType type, const QMessageLogContext&, const QString& message)
  {
    if (!Current)
    {
      return;
    }
    if (type == QtCriticalMsg || type == QtFatalMsg)
    {
      Current->Criticals << message;
    }
    else
    {
      Current->Others << message;
    }
  }

  static inline qVireonTestMessageCapture* Current = nullptr;
  QtMessageHandler Previous = nullptr;
  QStringList Criticals;
  QStringList Others;
};

class qVireonTestApplicationEnvironment : public ::testing::Environment
{
public:
  void SetUp() override
  {
    if (!QApplication::instance())
    {
      this->Application = std::make_unique<QApplication>(this->Argc, this->Argv);
    }
  }
  void TearDown() override { this->Application.reset(); }

private:
  int Argc = 1;
  char Name[8] = "test";
  char* Argv[2] = { Name, nullptr };
  std::unique_ptr<QApplication> Application;
};

#endif
