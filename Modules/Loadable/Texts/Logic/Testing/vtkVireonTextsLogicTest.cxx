#include <vtkVireonTextsLogic.h>

#include <vtkKOVAApplicationLogic.h>
#include <vtkKOVAScene.h>
#include <vtkKOVATestErrorCapture.h>

#include <vtkNew.h>
#include <vtkSmartPointer.h>

#include <gtest/gtest.h>

TEST(vtkVireonTextsLogic, TypeInformation)
{
  vtkSmartPointer<vtkVireonTextsLogic> logic = vtkSmartPointer<vtkVireonTextsLogic>::New();
  EXPECT_STREQ(logic->GetClassName(), "vtkVireonTextsLogic");
  EXPECT_TRUE(logic->IsA("vtkVireonTextsLogic"));
  EXPECT_TRUE(logic->IsA("vtkKOVAAbstractLogic"));
  EXPECT_FALSE(logic->IsA("vtkVireonModuleLogic"));
  EXPECT_EQ(logic->GetNumberOfGenerationsFromBase("vtkKOVAAbstractLogic"), 1);
  EXPECT_EQ(vtkVireonTextsLogic::GetNumberOfGenerationsFromBaseType("vtkKOVAAbstractLogic"), 1);
  EXPECT_TRUE(vtkVireonTextsLogic::IsTypeOf("vtkObject"));

  vtkKOVAAbstractLogic* base = logic;
  EXPECT_EQ(vtkVireonTextsLogic::SafeDownCast(base), logic.GetPointer());
  vtkNew<vtkKOVAAbstractLogic> other;
  EXPECT_EQ(vtkVireonTextsLogic::SafeDownCast(other), nullptr);

  vtkSmartPointer<vtkVireonTextsLogic> instance;
  instance.TakeReference(logic->NewInstance());
  EXPECT_STREQ(instance->GetClassName(), "vtkVireonTextsLogic");
  EXPECT_NE(instance.GetPointer(), logic.GetPointer());
}

TEST(vtkVireonTextsLogic, SceneIsTakenWithoutRegisteringOrObserving)
{
  vtkNew<vtkKOVAScene> scene;
  const auto classesBefore = scene->GetRegisteredNodeClassNames();
  vtkNew<vtkKOVAApplicationLogic> appLogic;
  vtkNew<vtkVireonTextsLogic> logic;
  vtkKOVATestErrorCapture errors;
  logic->SetKOVAApplicationLogic(appLogic);
  logic->SetKOVAScene(scene);
  EXPECT_EQ(logic->GetKOVAScene(), scene.GetPointer());
  EXPECT_EQ(logic->GetKOVAApplicationLogic(), appLogic.GetPointer());
  EXPECT_EQ(scene->GetRegisteredNodeClassNames(), classesBefore);
  EXPECT_FALSE(scene->HasObserver(vtkKOVAScene::NodeAddedEvent));
  EXPECT_FALSE(scene->HasObserver(vtkKOVAScene::NodeRemovedEvent));
  EXPECT_EQ(errors.GetNumberOfErrors(), 0);
}
