#include "CurvedReformatOutputs.h"

#include <SafeFileWriter.h>

#include <vtkObjectFactory.h>

namespace CurvedReformat
{
vtkStandardNewMacro(CapturingOutputWindow);

std::string CapturingOutputWindow::FirstMessage() const
{
  if (this->Errors.empty())
  {
    return "";
  }
  std::string message = this->Errors.front();
  const size_t start = message.find("): ");
  if (start != std::string::npos)
  {
    message = message.substr(start + 3);
  }
  message = message.substr(0, message.find('\n'));
  return message;
}

//------------------------------------------------------------------------------
PendingOutputs::PendingOutputs() = default;

// Uncommitted writers remove their temporary files.
PendingOutputs::~PendingOutputs() = default;

OutputFile PendingOutputs::Add(const std::string& target)
{
  auto writer = std::make_unique<vireon::SafeFileWriter>(target);
  if (!writer->Open())
  {
    throw Failure{ "cannot write " + writer->GetErrorMessage() };
  }
  OutputFile output{ writer->GetPath(), target };
  this->Writers.push_back(std::move(writer));
  return output;
}

void PendingOutputs::Commit()
{
  for (const auto& writer : this->Writers)
  {
    if (!writer->Commit())
    {
      throw Failure{ "cannot write " + writer->GetErrorMessage() };
    }
  }
  this->Writers.clear();
}
}
