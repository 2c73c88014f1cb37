#pragma once
// A page of a property sheet that checks its input before the sheet may close. The pages belong to
// whoever built them and outlive the sheet, which only shows them: the values a page holds and the
// child it remembers survive from one opening to the next.
//
// A page is opened (OnInitDialog, then its controls filled) the first time it shows in a run of its
// sheet; only opened pages exchange their data and get OnOK.

#include <QString>
#include <QWidget>

class APropertyPage : public QWidget {
public:
    explicit APropertyPage(int templateId, const QString& caption = QString(), QWidget* parent = nullptr);

    int TemplateId() const { return m_templateId; }
    const QString& Caption() const { return m_caption; }

    // True when the page's input is acceptable; false with a message for the user.
    virtual bool Validate(QString& message);
    // Fills the controls from the values (false) or the values from the controls (true); false when
    // the input cannot be taken, which keeps the sheet open.
    virtual bool DoDataExchange(bool save);
    // The sheet closed with OK.
    virtual void OnOK() {}

    // DoDataExchange of an opened page; a page never opened has nothing to exchange.
    bool UpdateData(bool save);
    bool IsOpened() const { return m_opened; }
    // A new run of the sheet: the page is not open yet.
    void BeginRun() { m_opened = false; }
    // Opens the page when it is not open yet.
    void EnsureOpened();

protected:
    // The page opens; the base fills the controls from the values.
    virtual void OnInitDialog();

private:
    int m_templateId;
    QString m_caption;
    bool m_opened = false;
};
