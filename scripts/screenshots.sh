#!/usr/bin/env bash
# Makes the pictures in docs/ again: the phone book with a few dozen contacts
# on Xvfb with openbox, as a user sees it, its add dialog, its earlier
# versions, its find dialog, the standardising of telephones, the duplicates, and its sync
# dialog at 1x and 2x against a Radicale on loopback,
# the question a sync asks before it would empty the server, and the
# keyboard's focus mark at 1x and 2x.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh test
cmake -S . -B build >/dev/null
cmake --build build --parallel "$(nproc)" --target MarvessaFonelo >/dev/null

pasta="$(mktemp -d)"
trap 'kill $(jobs -p) 2>/dev/null; rm -rf "$pasta"' EXIT
cp build/app/MarvessaFonelo "$pasta/"
nomes=("Ana Beatriz Souza" "Álvaro Mendes" "Amanda Ribeiro" "André Luiz" "Ângela Castro"
       "Antônio Prado" "Arthur Nogueira" "Augusto Lima" "Bárbara Teixeira" "Beatriz Rocha"
       "Bernardo Alves" "Bianca Freitas" "Bruno Carvalho" "Caio Martins" "Camila Duarte"
       "Carla Pinheiro" "Cecília Moraes" "Daniel Barros" "Débora Lopes" "Eduardo Pires"
       "Élida Campos" "Fábio Cunha" "Fernanda Melo" "Gabriel Dias" "Helena Vieira"
       "Igor Santana" "Júlia Farias" "Larissa Gomes" "Marcelo Tavares" "Natália Ramos"
       "Otávio Reis" "Paula Andrade" "Rafael Costa" "Sofia Azevedo" "Tiago Moura"
       "Úrsula Batista" "Vitor Hugo" "Yasmin Araújo" "Zeca Pagodinho da Silva" "0800 Farmácia")
{
    i=0
    for n in "${nomes[@]}"; do
        i=$((i + 1))
        printf '%s\x7f(11) 9%04d-%04d\x7fcontato%d@exemplo.com.br\r\n' "$n" $((i * 37)) \
            $((i * 91)) "$i"
    done
    printf '\r\n\r\n'
} | iconv -f UTF-8 -t WINDOWS-1252 >"$pasta/contatos.txt"

d=97
while [ -e "/tmp/.X11-unix/X$d" ]; do d=$((d + 1)); done
Xvfb ":$d" -screen 0 800x700x24 -nolisten tcp >/dev/null 2>&1 &
sleep 0.5
export DISPLAY=":$d"
openbox >/dev/null 2>&1 &
sleep 0.7
xsetroot -solid '#5a6b7c' 2>/dev/null || true
# Starts the phone book at a scale (its settings in the folder, no keychain)
# and moves its main window, the one of its size (the tray icon has the same
# name), to x y.
iniciar() {
    QT_SCALE_FACTOR=$1 HOME="$pasta" XDG_CONFIG_HOME="$pasta" \
        DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent "$pasta/MarvessaFonelo" >/dev/null 2>&1 &
    programa=$!
    sleep 1.5
    local janela=""
    for w in $(xdotool search --name '^Marvessa Fonelo$'); do
        xdotool getwindowgeometry "$w" | grep -q "Geometry: $((195 * $1))x$((300 * $1))" && janela="$w"
    done
    [ -n "$janela" ] || { echo "the main window did not show" >&2; exit 1; }
    xdotool windowmove "$janela" "$2" "$3"
}
iniciar 1 222 90
sleep 0.5
recorte="236x340+202+70"
mkdir -p docs
import -window root -crop "$recorte" +repage docs/janela-principal.png
# The add dialog, with a name typed.
xdotool mousemove $((222 + 24)) $((90 + 180)) click 1
sleep 0.6
xdotool type --delay 40 'Lívia Fontes'
sleep 0.3
import -window root -crop "$recorte" +repage docs/dialogo-adicionar.png
echo "docs/janela-principal.png docs/dialogo-adicionar.png written"

# The earlier versions: two kept, one with a contact less, one with a
# telephone changed and a contact more.
kill "$programa"
sleep 0.5
mkdir -p "$pasta/contatos.historico"
grep -av '^Zeca' "$pasta/contatos.txt" >"$pasta/contatos.historico/2026-12-07_18-20-41-305.txt"
{
    sed 's/(11) 90037-0091/(11) 3322-1100/' "$pasta/contatos.txt" | head -n -2
    printf 'Lucas Prates\x7f(11) 98888-7777\x7f\r\n\r\n\r\n'
} >"$pasta/contatos.historico/2026-12-08_09-02-13-877.txt"
iniciar 1 222 90
xdotool mousemove $((222 + 60)) $((90 + 80)) click 3
sleep 0.5
xdotool key Down Down Down Down Down Down Down Return
sleep 1
import -window root -crop "$recorte" +repage docs/dialogo-versoes.png
# The find dialog, a surname typed.
xdotool key Escape
sleep 1
xdotool key ctrl+f
sleep 0.8
xdotool type --delay 40 'sou'
sleep 0.3
import -window root -crop "$recorte" +repage docs/dialogo-procurar.png
echo "docs/dialogo-versoes.png docs/dialogo-procurar.png written"
kill "$programa"
sleep 0.5
rm -rf "$pasta/contatos.historico"

# Standardising telephones written as people write them, one left unchecked.
cp "$pasta/contatos.txt" "$pasta/contatos.guardado"
printf '%s\x7f%s\x7f\r\n' "Ana Beatriz Souza" "011 8765-4321" "Bruno Carvalho" "+55 21 98765 4321" \
    "Carla Pinheiro" "(31) 3456.7890 ramal 12" "Daniel Barros" "0 15 11 97654-3210" \
    "Eduardo Pires" "+351 912 345 678" "Farmácia" "0800 123 4567" \
    "Gabriel Dias" "48 8877-6655, falar com a secretária" |
    iconv -f UTF-8 -t WINDOWS-1252 >"$pasta/contatos.txt"
printf '\r\n\r\n' >>"$pasta/contatos.txt"
iniciar 1 222 90
xdotool mousemove $((222 + 60)) $((90 + 80)) click 3
sleep 0.5
xdotool key Down Down Return
sleep 1
xdotool key Down Down space
sleep 0.3
import -window root -crop "$recorte" +repage docs/dialogo-padronizar.png
echo "docs/dialogo-padronizar.png written"
kill "$programa"
sleep 0.5
mv "$pasta/contatos.guardado" "$pasta/contatos.txt"

# The duplicates: one person written twice, the other's e-mail chosen.
cp "$pasta/contatos.txt" "$pasta/contatos.guardado"
printf 'Souza, Ana Beatriz\x7f011 9 0037-0091\x7fana.souza@trabalho.com.br\r\n\r\n\r\n' >>"$pasta/contatos.txt"
iniciar 1 222 90
xdotool key ctrl+shift+d
sleep 1
xdotool key End space
sleep 0.3
import -window root -crop "$recorte" +repage docs/dialogo-duplicados.png
echo "docs/dialogo-duplicados.png written"
kill "$programa"
sleep 0.5
mv "$pasta/contatos.guardado" "$pasta/contatos.txt"

# The sync dialog, against a Radicale of its own: the account typed, then
# connected.
porta=5299
printf 'ana:senha\n' >"$pasta/usuarios"
cat >"$pasta/radicale.conf" <<FIM
[server]
hosts = 127.0.0.1:$porta
[auth]
type = htpasswd
htpasswd_filename = $pasta/usuarios
htpasswd_encryption = plain
[storage]
filesystem_folder = $pasta/colecoes
FIM
radicale --config "$pasta/radicale.conf" >/dev/null 2>&1 &
sleep 1.5
curl -s -u ana:senha -X MKCOL "http://127.0.0.1:$porta/ana/contatos/" -H 'Content-Type: application/xml' \
    --data '<?xml version="1.0"?><d:mkcol xmlns:d="DAV:" xmlns:c="urn:ietf:params:xml:ns:carddav"><d:set><d:prop><d:resourcetype><d:collection/><c:addressbook/></d:resourcetype><d:displayname>Contatos do celular</d:displayname></d:prop></d:set></d:mkcol>' >/dev/null
for escala in 1 2; do
    rm -rf "$pasta/contatos.sincronizacao" "$pasta/Marvessa Fonelo"
    iniciar "$escala" 20 20
    sleep 0.5
    recorte="$((236 * escala))x$((340 * escala))+0+0"
    # The list's context menu, its third entry.
    xdotool mousemove $((20 + 60 * escala)) $((20 + 80 * escala)) click 3
    sleep 0.5
    xdotool key Down Down Down Down Down Return
    sleep 0.8
    xdotool type --delay 30 "http://127.0.0.1:$porta/"
    xdotool key Tab
    xdotool type --delay 30 'ana'
    xdotool key Tab
    xdotool type --delay 30 'senha'
    sleep 0.3
    sufixo=""
    [ "$escala" = 2 ] && sufixo="-2x"
    import -window root -crop "$recorte" +repage "docs/dialogo-sincronizacao$sufixo.png"
    xdotool key Return
    sleep 3
    import -window root -crop "$recorte" +repage "docs/dialogo-sincronizacao-conectado$sufixo.png"
    if [ "$escala" = 1 ]; then
        # The file emptied by another program: F5 asks before the sync would
        # delete the server's cards.
        xdotool key Escape
        sleep 1.5
        cp "$pasta/contatos.txt" "$pasta/contatos.cheio"
        printf '\r\n\r\n' >"$pasta/contatos.txt"
        xdotool key F5
        sleep 3
        import -window root -crop "$recorte" +repage docs/dialogo-confirmar-sincronizacao.png
        xdotool key Escape
        sleep 1
        mv "$pasta/contatos.cheio" "$pasta/contatos.txt"
    fi
    kill "$programa"
    wait "$programa" 2>/dev/null || true
done
echo "docs/dialogo-sincronizacao*.png docs/dialogo-confirmar-sincronizacao.png written"


# The keyboard's focus mark on the skin: Tab from the list to the tab
# "C e D", at 1x and 2x.
for escala in 1 2; do
    rm -rf "$pasta/contatos.sincronizacao" "$pasta/Marvessa Fonelo"
    iniciar "$escala" 20 20
    sleep 0.5
    xdotool key Tab Tab Tab Tab Tab Tab Tab Tab
    sleep 0.4
    recorte="$((236 * escala))x$((340 * escala))+0+0"
    sufixo=""
    [ "$escala" = 2 ] && sufixo="-2x"
    import -window root -crop "$recorte" +repage "docs/foco-teclado$sufixo.png"
    kill "$programa"
    wait "$programa" 2>/dev/null || true
done
echo "docs/foco-teclado.png docs/foco-teclado-2x.png written"

# The list to print: its dialog, then two columns of every contact saved
# through the file dialog, and the PDF's first page as a picture.
rm -rf "$pasta/contatos.sincronizacao" "$pasta/Marvessa Fonelo"
iniciar 1 222 90
recorte="236x340+202+70"
xdotool key ctrl+p
sleep 1
import -window root -crop "$recorte" +repage docs/dialogo-imprimir.png
# Tab to " Salvar PDF ", then the file's name in the file dialog.
xdotool key Tab Tab Tab space
sleep 1
xdotool type --delay 20 "$pasta/lista.pdf"
xdotool key Return
for _ in $(seq 50); do [ -s "$pasta/lista.pdf" ] && break; sleep 0.2; done
pdftoppm -r 80 -f 1 -l 1 -singlefile -png "$pasta/lista.pdf" docs/lista-para-imprimir
kill "$programa"
wait "$programa" 2>/dev/null || true
echo "docs/dialogo-imprimir.png docs/lista-para-imprimir.png written"
