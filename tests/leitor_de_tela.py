#!/usr/bin/python3
"""The phone book as a screen reader meets it: the real program, on a display
of its own (xvfb_run.sh), read through the accessibility bus (AT-SPI, on a
private session bus) with the library Orca reads it with, driven from the
keyboard alone. Each Tab must land on the next control, and the focused
object must say what a screen reader would say.

Usage: xvfb_run.sh leitor_de_tela.py PROGRAM
Exits 77 (skipped) when the AT-SPI client library is missing, except in CI
(CI=true), where that fails."""

import os
import shutil
import subprocess
import sys
import tempfile
import time
import warnings

try:
    import gi

    gi.require_version("Atspi", "2.0")
    from gi.repository import Atspi, GLib
except (ImportError, ValueError) as e:
    print(("FAIL" if os.environ.get("CI") == "true" else "SKIP") + f": no AT-SPI client ({e})")
    sys.exit(1 if os.environ.get("CI") == "true" else 77)

falhas = []
# What gained the focus, last first: what a screen reader says as it moves.
focos = []
# What was checked or unchecked, as it was told: (name, checked).
marcados = []


def ao_focar(evento):
    if evento.detail1:
        focos.insert(0, evento.source)


def ao_marcar(evento):
    try:
        marcados.append((evento.source.get_name(), bool(evento.detail1)))
    except GLib.Error:
        pass


def bombear():
    while GLib.MainContext.default().iteration(False):
        pass


def esperar(condicao, segundos=10.0):
    fim = time.monotonic() + segundos
    while time.monotonic() < fim:
        bombear()
        valor = condicao()
        if valor:
            return valor
        time.sleep(0.05)
    return condicao()


def tecla(*teclas):
    subprocess.run(["xdotool", "key", "--clearmodifiers", *teclas], check=True)
    time.sleep(0.2)
    bombear()


def ouvido():
    """What the screen reader last said had the focus."""
    return falado(focos[0] if focos else None)


def ouve(passo, esperado):
    """The screen reader says the focus is on what is expected, once the
    events have come (waiting for them, not for a set time)."""
    esperar(lambda: ouvido() == esperado, 5.0)
    confere(passo, ouvido(), esperado)


def filhos(o):
    try:
        return [o.get_child_at_index(i) for i in range(o.get_child_count())]
    except GLib.Error:
        return []


def selecionada(aba):
    aba.clear_cache()
    return aba.get_state_set().contains(Atspi.StateType.SELECTED)


def falado(o):
    try:
        return f"{o.get_role_name()}: {o.get_name()}" if o else "(nada)"
    except GLib.Error:
        return "(já não existe)"


def marcado(o):
    o.clear_cache()
    return o.get_state_set().contains(Atspi.StateType.CHECKED)


def acoes(o):
    with warnings.catch_warnings():
        warnings.simplefilter("ignore", DeprecationWarning)
        a = o.get_action_iface()
        return [a.get_action_name(i) for i in range(a.get_n_actions())] if a else []


def confere(o_que, visto, esperado):
    if visto != esperado:
        falhas.append(f"{o_que}: ouvido {visto!r}, esperado {esperado!r}")


def procurar(o, nome, papel):
    if o.get_name() == nome and o.get_role_name() == papel:
        return o
    for f in filhos(o):
        achado = procurar(f, nome, papel)
        if achado:
            return achado
    return None


def main():
    programa = sys.argv[1]
    pasta = tempfile.mkdtemp(prefix="leitor-")
    processos = []
    try:
        barramento = subprocess.Popen(
            ["dbus-daemon", "--session", "--nofork", "--print-address=1"],
            stdout=subprocess.PIPE,
            text=True,
        )
        processos.append(barramento)
        os.environ["DBUS_SESSION_BUS_ADDRESS"] = barramento.stdout.readline().strip()
        copia = os.path.join(pasta, os.path.basename(programa))
        shutil.copy(programa, copia)
        # Ana Souza and Souza Ana: one person, for the duplicates' choices.
        linhas = ["Ana Souza\x7f(11) 1111\x7fa@x.com", "Bia\x7f\x7fb@x", "Carlos\x7f33\x7f",
                  "Souza Ana\x7f\x7fana@x.com"]
        with open(os.path.join(pasta, "contatos.txt"), "wb") as f:
            f.write(("\r\n".join(linhas) + "\r\n\r\n\r\n").encode("cp1252"))
        env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb",
                   XDG_CONFIG_HOME=pasta, HOME=pasta)
        processos.append(subprocess.Popen([copia], cwd=pasta, env=env))
        Atspi.init()
        ouvinte = Atspi.EventListener.new(ao_focar)
        ouvinte.register("object:state-changed:focused")
        marcador = Atspi.EventListener.new(ao_marcar)
        marcador.register("object:state-changed:checked")
        desktop = Atspi.get_desktop(0)

        def app():
            for a in filhos(desktop):
                if a and a.get_name() == "Marvessa Fonelo":
                    return a
            return None

        aplicacao = esperar(app, 20)
        if not aplicacao:
            print("FAIL: the program never appeared on the accessibility bus")
            return 1
        janela = esperar(lambda: procurar(aplicacao, "Marvessa Fonelo", "frame"), 10)
        if not janela:
            print("FAIL: no main window on the bus")
            return 1
        subprocess.run(["xdotool", "search", "--sync", "--name", "^Marvessa Fonelo$",
                        "windowactivate", "--sync"], check=False, timeout=20)
        contato = "list item: Ana Souza, telefone (11) 1111, e-mail a@x.com"
        esperar(lambda: focos and falado(focos[0]) == contato, 10)

        # Round the window, in the order the eye reads it.
        passeio = [contato, "push button: Adicionar contato", "push button: Atualizar contato",
                   "push button: Deletar contato", "text: Telefone", "text: E-mail"]
        passeio += [f"page tab: {letras}" for letras in (
            "A e B", "C e D", "E e F", "G e H", "I e J", "K e L", "M e N", "O e P", "Q e R",
            "S e T", "U e V", "W e X", "Y e Z", "0 a 9")]
        passeio += ["push button: Atualizar programa", "push button: Sobre o Programa",
                    "push button: Minimizar", "push button: Fechar", contato]
        ouve("início", passeio[0])
        for n, esperado in enumerate(passeio[1:], 1):
            tecla("Tab")
            ouve(f"Tab {n}", esperado)
        tecla("shift+Tab")
        ouve("Shift+Tab", "push button: Fechar")
        tecla("Tab")

        # The list's menu, where finding, importing and exporting are.
        tecla("Menu")
        tecla("Down")
        ouve("o menu", "menu item: Procurar...")
        tecla("Escape")

        # The next contact, with its details.
        tecla("Down")
        ouve("Down", "list item: Bia, e-mail b@x")

        # A tab chosen from the keys: the selected page tab and the list say so.
        tecla("ctrl+Next")
        aba = procurar(janela, "C e D", "page tab")
        confere("Ctrl+Page Down", selecionada(aba), True)
        ouve("o contato da aba", "list item: Carlos, telefone 33")
        lista = procurar(janela, "Contatos", "list")
        lista.clear_cache()
        confere("a lista diz", lista.get_description(), "C e D, página 1 de 1")
        # And with Tab and Space: back to A and B.
        for _ in range(6):
            tecla("Tab")
        ouve("Tab até a aba", "page tab: A e B")
        tecla("space")
        confere("Space na aba", selecionada(procurar(janela, "A e B", "page tab")), True)

        # Adding a contact: the button, the dialog named as it opens, each
        # field by its label, the confirm pressed with Space.
        for _ in range(5):
            tecla("shift+Tab")
        ouve("de volta", "push button: Adicionar contato")
        tecla("space")
        dialogo = esperar(lambda: procurar(aplicacao, "Adicionar contato", "dialog"), 10)
        confere("o diálogo", bool(dialogo), True)
        if dialogo:
            ouve("no diálogo", "text: Nome")
            subprocess.run(["xdotool", "type", "--delay", "20", "Carla"], check=True)
            tecla("Tab")
            ouve("Tab", "text: Telefone")
            subprocess.run(["xdotool", "type", "--delay", "20", "2222"], check=True)
            tecla("Tab", "Tab")
            ouve("Tab Tab", "push button: Adicionar")
            tecla("space")
            gravado = esperar(lambda: b"Carla\x7f2222" in open(
                os.path.join(pasta, "contatos.txt"), "rb").read(), 10)
            confere("gravado", bool(gravado), True)
            esperar(lambda: not procurar(aplicacao, "Adicionar contato", "dialog"), 5)
            # The notice "Contato adicionado" shows for 1.5 s, then goes.
            esperar(lambda: False, 2.5)
            # The new contact on its tab; then an empty tab, whose list can
            # take no focus, so the tab does.
            tecla("ctrl+Next")
            ouve("a aba do novo", "list item: Carla, telefone 2222")
            tecla("ctrl+Next")
            ouve("aba vazia", "page tab: E e F")

        # The duplicates: the values to keep are check boxes, told checked
        # or not, under headings that are headings; Space checks another,
        # and that is told as it happens.
        tecla("ctrl+shift+d")
        duplicados = esperar(lambda: procurar(aplicacao, "Duplicados", "dialog"), 10)
        confere("os duplicados", bool(duplicados), True)
        if duplicados:
            esperar(lambda: focos and falado(focos[0]) == "check box: Ana Souza", 5)
            ouve("a primeira escolha", "check box: Ana Souza")
            confere("marcada", marcado(focos[0]), True)
            escolhas = procurar(duplicados, "O que manter", "list")
            papeis = [falado(f) for f in filhos(escolhas)] if escolhas else []
            confere("os títulos", [p for p in papeis if p.startswith("heading")],
                    ["heading: Nome", "heading: Telefone", "heading: E-mail"])
            confere("sem ação no título", acoes(filhos(escolhas)[0]) if escolhas else None, [])
            tecla("Down")
            ouve("a outra", "check box: Souza Ana")
            confere("não marcada", marcado(focos[0]), False)
            tecla("space")
            esperar(lambda: ("Souza Ana", True) in marcados, 5)
            confere("marcada ao apertar", ("Souza Ana", True) in marcados, True)
            confere("desmarcada a outra", ("Ana Souza", False) in marcados, True)
            confere("agora marcada", marcado(focos[0]), True)
            tecla("Escape")
    finally:
        for p in reversed(processos):
            p.terminate()
            try:
                p.wait(5)
            except subprocess.TimeoutExpired:
                p.kill()
        shutil.rmtree(pasta, ignore_errors=True)
    for f in falhas:
        print("FAIL:", f)
    if not falhas:
        print("PASS: the whole walk read as a screen reader reads it")
    return 1 if falhas else 0


if __name__ == "__main__":
    sys.exit(main())
