#include "vtkKOVAI18N.h"

#include <vtkObjectFactory.h>

namespace
{
unsigned int InitializeCount = 0;
vtkKOVAI18N* Instance = nullptr;
}

vtkStandardNewMacro(vtkKOVAI18N);

vtkKOVAI18N::vtkKOVAI18N() = default;
vtkKOVAI18N::~vtkKOVAI18N() = default;

void vtkKOVAI18N::PrintSelf(ostream& os, vtkIndent indent)
{
  this->Superclass::PrintSelf(os, indent);
  os << indent << "Translator: " << (this->Translator ? this->Translator->GetClassName() : "(none)")
     << "\n";
}

vtkKOVAI18N* vtkKOVAI18N::GetInstance()
{
  if (!Instance)
  {
    // Used before (or after) any initialiser ran: create it; ClassFinalize deletes it.
    Instance = vtkKOVAI18N::New();
  }
  return Instance;
}

std::string vtkKOVAI18N::Translate(const char* context,
  const char* sourceText,
  const char* disambiguation,
  int n)
{
  if (!sourceText)
  {
    return std::string();
  }
  vtkKOVAI18N* i18n = vtkKOVAI18N::GetInstance();
  if (i18n->Translator)
  {
    std::string translated = i18n->Translator->Translate(context, sourceText, disambiguation, n);
    if (!translated.empty())
    {
      return translated;
    }
  }
  return sourceText;
}

void vtkKOVAI18N::SetTranslator(vtkKOVATranslator* translator)
{
  if (this->Translator == translator)
  {
    return;
  }
  this->Translator = translator;
  this->Modified();
}

void vtkKOVAI18N::ClassInitialize()
{
  vtkKOVAI18N::GetInstance();
}

void vtkKOVAI18N::ClassFinalize()
{
  if (Instance)
  {
    Instance->Delete();
    Instance = nullptr;
  }
}

vtkKOVAI18NInitialize::vtkKOVAI18NInitialize()
{
  if (++InitializeCount == 1)
  {
    vtkKOVAI18N::ClassInitialize();
  }
}

vtkKOVAI18NInitialize::~vtkKOVAI18NInitialize()
{
  if (--InitializeCount == 0)
  {
    vtkKOVAI18N::ClassFinalize();
  }
}
