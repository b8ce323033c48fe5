#include "CurvedReformatOutputs.h"

#include <vtkObjectFactory.h>

#include <vtksys/SystemTools.hxx>

#include <cerrno>
#include <cstdio>
#include <cstring>

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
PendingOutputs::~PendingOutputs()
{
  for (const OutputFile& output : this->Outputs)
  {
    std::remove(output.Path.c_str());
  }
}

OutputFile PendingOutputs::Add(const std::string& target)
{
  if (vtksys::SystemTools::FileIsDirectory(target))
  {
    throw Failure{ "cannot write " + target + ": is a folder" };
  }
  const std::string ext = vtksys::SystemTools::GetFilenameLastExtension(target);
  const std::string stem = target.substr(0, target.size() - ext.size());
  OutputFile output{ stem + ".partial-" + std::to_string(this->Outputs.size()) + ext, target };
  // Created now, so that a folder that is missing or not writable is found before the work.
  std::FILE* file = std::fopen(output.Path.c_str(), "wb");
  if (!file)
  {
    throw Failure{ "cannot write " + target + ": " + std::strerror(errno) };
  }
  std::fclose(file);
  this->Outputs.push_back(output);
  return output;
}

void PendingOutputs::Commit()
{
  for (size_t i = 0; i < this->Outputs.size(); ++i)
  {
    if (std::rename(this->Outputs[i].Path.c_str(), this->Outputs[i].Target.c_str()) != 0)
    {
      const int error = errno;
      // Undo what was moved already, so no partial set of outputs remains.
      for (size_t j = 0; j < i; ++j)
      {
        std::remove(this->Outputs[j].Target.c_str());
      }
      throw Failure{ "cannot write " + this->Outputs[i].Target + ": " + std::strerror(error) };
    }
  }
  this->Outputs.clear();
}
}
