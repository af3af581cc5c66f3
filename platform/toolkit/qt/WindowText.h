#pragma once
// The window text of each kind of widget the layer builds: a dialog's caption, a button's
// or static's text (with '&' mnemonics), an edit's contents, an address as "a.b.c.d".

#include <QAnyStringView>
#include <QString>

class QLabel;
class QWidget;

QString WindowText(const QWidget* widget);
// Rewrites the text only when it differs, so an unchanged edit sends no notification; the
// text is compared as given, so an unchanged one costs no conversion.
void SetWindowTextOf(QWidget* widget, QAnyStringView text);
// mnemonics: the static processes '&' (it lacks SS_NOPREFIX); its window text stays as given.
void SetStaticText(QLabel* label, const QString& text, bool mnemonics);
// A static's text as shown: '&' marks a mnemonic and "&&" stands for '&'.
QString StaticDisplayText(const QString& text);
