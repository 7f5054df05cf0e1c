#pragma once
// A check that a panel's controls are laid out tidily.

#include <QList>
#include <QWidget>

#include <gtest/gtest.h>

namespace quorvel::test {

// The shown controls of a panel: each wholly inside the window, at least as wide as it
// needs to show its contents, and none over another.
inline void expectTidyLayout(QWidget* window)
{
    QList<QWidget*> controls;
    for (QWidget* child : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (child->isVisible())
            controls << child;
    ASSERT_GE(controls.size(), 4);
    for (int i = 0; i < controls.size(); ++i) {
        const QRect a = controls[i]->geometry();
        const std::string name = controls[i]->objectName().toStdString();
        EXPECT_TRUE(window->rect().contains(a)) << name;
        EXPECT_GE(a.width(), controls[i]->minimumSizeHint().width()) << name;
        for (int j = i + 1; j < controls.size(); ++j)
            EXPECT_FALSE(a.intersects(controls[j]->geometry())) << name << " / " << controls[j]->objectName().toStdString();
    }
}

} // namespace quorvel::test
