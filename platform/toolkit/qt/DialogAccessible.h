#pragma once
// A dialog as a screen reader sees it: only the controls that are shown. A hidden control
// (one the template never shows, or one hidden since) is not in the accessibility tree, as
// on the platform, instead of being offered with its contents and marked invisible; an
// IP-address control is its four fields, without the dots between them.

class QAccessibleInterface;
class QObject;
class QString;

/// The accessibility factory for the toolkit's dialog windows; installed once by the toolkit.
QAccessibleInterface* DialogAccessibleFactory(const QString& className, QObject* object);
