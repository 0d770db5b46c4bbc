#pragma once

class QWidget;

// What screen readers are shown of a skinned window: its controls, without
// the shapes and pictures that only decorate it.
namespace JanelaAcessivel {

// A window (or dialog) whose decorations are left out of its children.
// Called before anything asks for the window's interface.
void usar(QWidget *janela);
// A shape or picture that only decorates.
void enfeite(QWidget *w);
bool ehEnfeite(const QWidget *w);

} // namespace JanelaAcessivel
