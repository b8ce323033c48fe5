#ifndef vtkKOVAMessageCollection_h
#define vtkKOVAMessageCollection_h

#include "KOVACoreExport.h"

#include <vtkObject.h>

#include <string>
#include <vector>

/// Messages for the user (errors, warnings and notes) gathered while an operation runs, for
/// example while a storage node reads a file.
///
/// Each message has a type, one of vtkCommand::ErrorEvent, vtkCommand::WarningEvent and
/// vtkCommand::MessageEvent, and a text.
class KOVACORE_EXPORT vtkKOVAMessageCollection : public vtkObject
{
public:
  static vtkKOVAMessageCollection* New();
  vtkTypeMacro(vtkKOVAMessageCollection, vtkObject);
  void PrintSelf(ostream& os, vtkIndent indent) override;

  /// Appends a message.
  void AddMessage(unsigned long messageType, const std::string& text);
  /// Appends every message of \a source, each text preceded by \a prefix. Appending a collection
  /// to itself appends a copy of its current messages.
  void AddMessages(vtkKOVAMessageCollection* source, const std::string& prefix = std::string());
  void ClearMessages();

  int GetNumberOfMessages() const { return static_cast<int>(this->Messages.size()); }
  int GetNumberOfMessagesOfType(unsigned long messageType) const;
  /// Type and text of the n-th message; 0 and the empty string when \a n is out of range.
  unsigned long GetNthMessageType(int n) const;
  std::string GetNthMessageText(int n) const;

  /// Every message on a line of its own, errors and warnings marked as such; optionally tells
  /// whether an error or a warning is among them.
  std::string GetAllMessagesAsString(bool* errorFound = nullptr,
    bool* warningFound = nullptr) const;

protected:
  vtkKOVAMessageCollection();
  ~vtkKOVAMessageCollection() override;

  struct Message
  {
    unsigned long Type;
    std::string Text;
  };
  std::vector<Message> Messages;

private:
  vtkKOVAMessageCollection(const vtkKOVAMessageCollection&) = delete;
  void operator=(const vtkKOVAMessageCollection&) = delete;
};

#endif
