#pragma once
// A settings page that holds further pages on tabs of its own. Its tabs are titled by the captions the
// owner appends, in page order (a page without a caption keeps its own title); it validates its child
// pages in order, and reopens with the child that was in front when OK was last pressed.

#include "widgets/APropertyPage.h"

#include <QStringList>

class PropertyPageTabs;

class AMultiPropertyPage : public APropertyPage {
public:
    explicit AMultiPropertyPage(int templateId, const QString& caption = QString(),
                                QWidget* parent = nullptr);

    virtual bool UpdateChildData(bool save);
    virtual void AddChildPage(APropertyPage* page);
    void AppendCaption(const QString& caption) { m_captions.append(caption); }

    // The child shown when the page opens.
    int GetChildIndex() const { return m_childIndex; }
    void SetChildIndex(int index) { m_childIndex = index; }
    int GetChildCount() const;
    APropertyPage* GetChildPage(int index) const;
    PropertyPageTabs& ChildTabs() const { return *m_children; }

    bool Validate(QString& message) override;
    bool DoDataExchange(bool save) override;
    void OnOK() override;

protected:
    void OnInitDialog() override;

private:
    void TitleTabs();

    PropertyPageTabs* m_children;
    QStringList m_captions;
    int m_childIndex = 0;
    bool m_childrenOpen = false;
};
