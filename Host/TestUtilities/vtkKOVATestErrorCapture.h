#ifndef vtkKOVATestErrorCapture_h
#define vtkKOVATestErrorCapture_h

// Captures what VTK's error and warning macros send to the output window, for tests.
//
//   vtkKOVATestErrorCapture errors;          // installs itself, restores the old window on exit
//   logic->GetDefaultSliceViewNode();
//   EXPECT_EQ(errors.GetNumberOfErrors(), 1);
//   EXPECT_TRUE(errors.ContainsError("GetDefaultSliceViewNode failed: invalid scene"));
//
// Each captured error is the full text the window received: "ERROR: In <file>, line <n>\n", then
// "<class> (<address>): <message>" ("(nullptr): <message>" for a null object). MessageOf() gives
// the text after the object's description.

#include <vtkObject.h>
#include <vtkObjectFactory.h>
#include <vtkOutputWindow.h>
#include <vtkSmartPointer.h>

#include <string>
#include <vector>

class vtkKOVATestOutputWindow : public vtkOutputWindow
{
public:
  static vtkKOVATestOutputWindow* New() { VTK_STANDARD_NEW_BODY(vtkKOVATestOutputWindow); }
  vtkTypeMacro(vtkKOVATestOutputWindow, vtkOutputWindow);

  void DisplayErrorText(const char* text) override { this->Errors.emplace_back(text ? text : ""); }
  void DisplayWarningText(const char* text) override
  {
    this->Warnings.emplace_back(text ? text : "");
  }
  void DisplayGenericWarningText(const char* text) override
  {
    this->Warnings.emplace_back(text ? text : "");
  }
  void DisplayText(const char* text) override { this->Texts.emplace_back(text ? text : ""); }
  void DisplayDebugText(const char* text) override { this->Texts.emplace_back(text ? text : ""); }

  std::vector<std::string> Errors;
  std::vector<std::string> Warnings;
  std::vector<std::string> Texts;

protected:
  vtkKOVATestOutputWindow() = default;
  ~vtkKOVATestOutputWindow() override = default;
};

class vtkKOVATestErrorCapture
{
public:
  vtkKOVATestErrorCapture()
    : Previous(vtkOutputWindow::GetInstance())
    , PreviousGlobalWarningDisplay(vtkObject::GetGlobalWarningDisplay())
  {
    this->Window = vtkSmartPointer<vtkKOVATestOutputWindow>::New();
    vtkOutputWindow::SetInstance(this->Window);
    vtkObject::GlobalWarningDisplayOn();
  }
  ~vtkKOVATestErrorCapture()
  {
    vtkOutputWindow::SetInstance(this->Previous);
    vtkObject::SetGlobalWarningDisplay(this->PreviousGlobalWarningDisplay);
  }
  vtkKOVATestErrorCapture(const vtkKOVATestErrorCapture&) = delete;
  vtkKOVATestErrorCapture& operator=(const vtkKOVATestErrorCapture&) = delete;

  const std::vector<std::string>& GetErrors() const { return this->Window->Errors; }
  const std::vector<std::string>& GetWarnings() const { return this->Window->Warnings; }
  int GetNumberOfErrors() const { return static_cast<int>(this->Window->Errors.size()); }
  int GetNumberOfWarnings() const { return static_cast<int>(this->Window->Warnings.size()); }

  /// True if a captured error contains \a text.
  bool ContainsError(const std::string& text) const { return Contains(this->Window->Errors, text); }
  bool ContainsWarning(const std::string& text) const
  {
    return Contains(this->Window->Warnings, text);
  }

  /// The message of an error or warning text: what follows the object's description ("... ): "),
  /// without the trailing line breaks.
  static std::string MessageOf(const std::string& text)
  {
    std::string message = text;
    const size_t start = message.find("): ");
    if (start != std::string::npos)
    {
      message = message.substr(start + 3);
    }
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r'))
    {
      message.pop_back();
    }
    return message;
  }
  /// Messages (see MessageOf) of every captured error, in order.
  std::vector<std::string> GetErrorMessages() const
  {
    std::vector<std::string> messages;
    for (const std::string& error : this->Window->Errors)
    {
      messages.push_back(MessageOf(error));
    }
    return messages;
  }

  void Clear()
  {
    this->Window->Errors.clear();
    this->Window->Warnings.clear();
    this->Window->Texts.clear();
  }

private:
  static bool Contains(const std::vector<std::string>& texts, const std::string& text)
  {
    for (const std::string& t : texts)
    {
      if (t.find(text) != std::string::npos)
      {
        return true;
      }
    }
    return false;
  }

  vtkSmartPointer<vtkOutputWindow> Previous;
  int PreviousGlobalWarningDisplay;
  vtkSmartPointer<vtkKOVATestOutputWindow> Window;
};

#endif
