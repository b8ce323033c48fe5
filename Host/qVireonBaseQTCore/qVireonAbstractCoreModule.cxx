#include "qVireonAbstractCoreModule.h"

#include "qVireonAbstractModuleRepresentation.h"

#include <vtkKOVAAbstractLogic.h>
#include <vtkKOVAApplicationLogic.h>
#include <vtkKOVAScene.h>

#include <QDebug>

#include <vtkSmartPointer.h>
#include <vtkWeakPointer.h>

#include <memory>

class qVireonAbstractCoreModulePrivate
{
public:
  QString Name;
  bool Initialized = false;
  bool LogicCreated = false;
  bool WidgetRepresentationCreationEnabled = true;
  bool WidgetRepresentationCreated = false;
  vtkWeakPointer<vtkKOVAApplicationLogic> AppLogic;
  vtkSmartPointer<vtkKOVAScene> Scene;
  vtkSmartPointer<vtkKOVAAbstractLogic> Logic;
  std::unique_ptr<qVireonAbstractModuleRepresentation> WidgetRepresentation;
  /// The name the logic is registered under with the application logic (the destructor cannot
  /// ask name(), which depends on the subclass).
  QByteArray RegisteredLogicName;
};

//------------------------------------------------------------------------------
qVireonAbstractCoreModule::qVireonAbstractCoreModule(QObject* parent)
  : QObject(parent)
  , d_ptr(new qVireonAbstractCoreModulePrivate)
{
}

qVireonAbstractCoreModule::~qVireonAbstractCoreModule()
{
  Q_D(qVireonAbstractCoreModule);
  d->WidgetRepresentation.reset();
  if (d->Logic && d->AppLogic && !d->RegisteredLogicName.isEmpty() &&
      d->AppLogic->GetModuleLogic(d->RegisteredLogicName.constData()) == d->Logic)
  {
    d->AppLogic->SetModuleLogic(d->RegisteredLogicName.constData(), nullptr);
  }
}

//------------------------------------------------------------------------------
void qVireonAbstractCoreModule::printAdditionalInfo()
{
  Q_D(qVireonAbstractCoreModule);
  qDebug().nospace() << "Module " << this->name() << ": logic "
                     << (d->Logic ? d->Logic->GetClassName() : "(none)") << ", panel "
                     << (d->WidgetRepresentation ? "created" : "not created");
}

QString qVireonAbstractCoreModule::name() const
{
  Q_D(const qVireonAbstractCoreModule);
  if (!d->Name.isEmpty())
  {
    return d->Name;
  }
  QString name = QString::fromLatin1(this->metaObject()->className());
  if (name.startsWith(QLatin1String("qVireon")))
  {
    name.remove(0, 7);
  }
  if (name.endsWith(QLatin1String("Module")) && name.size() > 6)
  {
    name.chop(6);
  }
  return name;
}

void qVireonAbstractCoreModule::setName(const QString& name)
{
  Q_D(qVireonAbstractCoreModule);
  d->Name = name;
}

QStringList qVireonAbstractCoreModule::categories() const
{
  return QStringList();
}

int qVireonAbstractCoreModule::index() const
{
  return 0;
}

bool qVireonAbstractCoreModule::isHidden() const
{
  return false;
}

QStringList qVireonAbstractCoreModule::contributors() const
{
  return QStringList();
}

QString qVireonAbstractCoreModule::helpText() const
{
  return QString();
}

QString qVireonAbstractCoreModule::acknowledgementText() const
{
  return QString();
}

QStringList qVireonAbstractCoreModule::associatedNodeTypes() const
{
  return QStringList();
}

QStringList qVireonAbstractCoreModule::dependencies() const
{
  return QStringList();
}

//------------------------------------------------------------------------------
void qVireonAbstractCoreModule::initialize(vtkKOVAApplicationLogic* applicationLogic)
{
  Q_D(qVireonAbstractCoreModule);
  if (d->Initialized)
  {
    return;
  }
  d->AppLogic = applicationLogic;
  this->setup();
  d->Initialized = true;
}

bool qVireonAbstractCoreModule::isInitialized() const
{
  Q_D(const qVireonAbstractCoreModule);
  return d->Initialized;
}

vtkKOVAApplicationLogic* qVireonAbstractCoreModule::appLogic() const
{
  Q_D(const qVireonAbstractCoreModule);
  return d->AppLogic;
}

vtkKOVAScene* qVireonAbstractCoreModule::kovaScene() const
{
  Q_D(const qVireonAbstractCoreModule);
  return d->Scene;
}

void qVireonAbstractCoreModule::setKOVAScene(vtkKOVAScene* scene)
{
  Q_D(qVireonAbstractCoreModule);
  if (d->Scene == scene)
  {
    return;
  }
  d->Scene = scene;
  if (d->Logic)
  {
    d->Logic->SetKOVAScene(scene);
  }
  emit this->kovaSceneChanged(scene);
}

//------------------------------------------------------------------------------
vtkKOVAAbstractLogic* qVireonAbstractCoreModule::logic()
{
  Q_D(qVireonAbstractCoreModule);
  if (d->LogicCreated)
  {
    return d->Logic;
  }
  d->LogicCreated = true;
  vtkSmartPointer<vtkKOVAAbstractLogic> logic;
  logic.TakeReference(this->createLogic());
  if (!logic)
  {
    return nullptr;
  }
  d->Logic = logic;
  logic->SetKOVAApplicationLogic(d->AppLogic);
  logic->SetKOVAScene(d->Scene);
  if (d->AppLogic)
  {
    d->RegisteredLogicName = this->name().toUtf8();
    d->AppLogic->SetModuleLogic(d->RegisteredLogicName.constData(), logic);
  }
  return logic;
}

//------------------------------------------------------------------------------
bool qVireonAbstractCoreModule::isWidgetRepresentationCreationEnabled() const
{
  Q_D(const qVireonAbstractCoreModule);
  return d->WidgetRepresentationCreationEnabled;
}

void qVireonAbstractCoreModule::setWidgetRepresentationCreationEnabled(bool enabled)
{
  Q_D(qVireonAbstractCoreModule);
  d->WidgetRepresentationCreationEnabled = enabled;
}

qVireonAbstractModuleRepresentation* qVireonAbstractCoreModule::widgetRepresentation()
{
  Q_D(qVireonAbstractCoreModule);
  if (!d->WidgetRepresentationCreationEnabled)
  {
    return nullptr;
  }
  if (!d->WidgetRepresentationCreated)
  {
    d->WidgetRepresentationCreated = true;
    d->WidgetRepresentation.reset(this->createWidgetRepresentation());
    if (d->WidgetRepresentation)
    {
      d->WidgetRepresentation->Module = this;
      d->WidgetRepresentation->setup();
    }
  }
  return d->WidgetRepresentation.get();
}
