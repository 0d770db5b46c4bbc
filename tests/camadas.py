#!/usr/bin/env python3
"""The floors of app/ as README's Layout table gives them: every include of
a file under app/ names a folder its own folder may use, and no two units
(a header with its source) or folders include each other, however long the
way round."""
import os
import re
import sys

raiz = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..")
app = os.path.join(raiz, "app")

# | `app/store` | ... | nothing |   -> store: set()
permitido = {}
for linha in open(os.path.join(raiz, "README.md"), encoding="utf-8"):
    m = re.match(r"\| `app/([a-z_]+)` \|.*\| ([^|]+) \|$", linha.strip())
    if m:
        usa = m.group(2).strip()
        permitido[m.group(1)] = set() if usa == "nothing" else {u.strip() for u in usa.split(",")}

erros = []
if not permitido:
    erros.append("README.md: no Layout table found")

inclui = {}
for pasta, _, nomes in os.walk(app):
    for nome in nomes:
        if not nome.endswith((".h", ".cpp")):
            continue
        caminho = os.path.relpath(os.path.join(pasta, nome), app).replace(os.sep, "/")
        texto = open(os.path.join(pasta, nome), encoding="utf-8").read()
        inclui[caminho] = re.findall(r'^\s*#\s*include\s+"([^"]+)"', texto, re.M)

for arquivo, alvos in sorted(inclui.items()):
    if "/" not in arquivo:
        continue  # main.cpp: start-up uses every floor
    de = arquivo.split("/")[0]
    if de not in permitido:
        erros.append(f"app/{arquivo}: the folder {de} is not in README's Layout table")
        continue
    for alvo in alvos:
        if alvo not in inclui:
            continue  # generated, or beside the file (layouts/tools)
        para = alvo.split("/")[0]
        if para != de and para not in permitido[de]:
            erros.append(f"app/{arquivo}: includes {alvo}, but {de} may use only "
                         f"{', '.join(sorted(permitido[de])) or 'nothing'}")

# A cycle of units (a header and its source are one): a depth-first walk
# that comes back to a unit on its way; and the same for folders.
def unidade(arquivo):
    return os.path.splitext(arquivo)[0]

def ciclos(grafo, nome):
    estado = {}
    def visitar(no, caminho):
        estado[no] = 1
        for alvo in sorted(grafo.get(no, ())):
            if estado.get(alvo) == 1:
                erros.append(f"{nome} cycle: " + " -> ".join(caminho[caminho.index(alvo):] + [alvo]))
            elif alvo not in estado:
                visitar(alvo, caminho + [alvo])
        estado[no] = 2
    for no in sorted(grafo):
        if no not in estado:
            visitar(no, [no])

unidades, pastas = {}, {}
for arquivo, alvos in inclui.items():
    for alvo in alvos:
        if alvo in inclui and unidade(alvo) != unidade(arquivo):
            unidades.setdefault(unidade(arquivo), set()).add(unidade(alvo))
            if "/" in arquivo and alvo.split("/")[0] != arquivo.split("/")[0]:
                pastas.setdefault(arquivo.split("/")[0], set()).add(alvo.split("/")[0])
ciclos(unidades, "include")
ciclos(pastas, "folder")

for e in erros:
    print(e)
print(f"{len(inclui)} files, {len(unidades)} units, {len(permitido)} folders: "
      + ("the floors hold" if not erros else f"{len(erros)} faults"))
sys.exit(1 if erros else 0)
