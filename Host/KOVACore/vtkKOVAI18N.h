#ifndef vtkKOVAI18N_h
#define vtkKOVAI18N_h

#include "KOVACoreExport.h"

#include <vtkObject.h>
#include <vtkSmartPointer.h>

#include <string>

/// Translates texts for the scene library; the application installs a translator.
class KOVACORE_EXPORT vtkKOVATranslator : public vtkObject
{
public:
  vtkTypeMacro(vtkKOVATranslator, vtkObject);
  /// The translation of \a sourceText, or an empty string when there is none.
  virtual std::string Translate(const char* context,
    const char* sourceText,
    const char* disambiguation,
    int n) = 0;

protected:
  vtkKOVATranslator() = default;
  ~vtkKOVATranslator() override = default;

private:
  vtkKOVATranslator(const vtkKOVATranslator&) = delete;
  void operator=(const vtkKOVATranslator&) = delete;
};

/// Translation of user-visible texts. Without a translator (or without a translation) the source
/// text is returned.
class KOVACORE_EXPORT vtkKOVAI18N : public vtkObject
{
public:
  vtkTypeMacro(vtkKOVAI18N, vtkObject);
  void PrintSelf(ostream& os, vtkIndent indent) override;

  /// The singleton (reference held by the caller is not needed).
  static vtkKOVAI18N* GetInstance();

  static std::string Translate(const char* context,
    const char* sourceText,
    const char* disambiguation = nullptr,
    int n = -1);

  void SetTranslator(vtkKOVATranslator* translator);
  vtkKOVATranslator* GetTranslator() { return this->Translator; }

protected:
  vtkKOVAI18N();
  ~vtkKOVAI18N() override;
  static vtkKOVAI18N* New();

  vtkSmartPointer<vtkKOVATranslator> Translator;

private:
  vtkKOVAI18N(const vtkKOVAI18N&) = delete;
  void operator=(const vtkKOVAI18N&) = delete;

  friend class vtkKOVAI18NInitialize;
  static void ClassInitialize();
  static void ClassFinalize();
};

/// Keeps the singleton alive as long as a library that includes this header is loaded.
class KOVACORE_EXPORT vtkKOVAI18NInitialize
{
public:
  vtkKOVAI18NInitialize();
  ~vtkKOVAI18NInitialize();

private:
  vtkKOVAI18NInitialize(const vtkKOVAI18NInitialize&) = delete;
  vtkKOVAI18NInitialize& operator=(const vtkKOVAI18NInitialize&) = delete;
};

// One per translation unit (the usual VTK singleton initialiser).
static vtkKOVAI18NInitialize vtkKOVAI18NInitializer;

#endif
