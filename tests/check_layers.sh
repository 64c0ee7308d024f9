#!/bin/sh
# Checks the design rules of src/ that the compiler cannot: the include directions between the
# layer folders, no mutable global, no window singleton, no widget header below the windows.
# Usage: check_layers.sh <source root> [<Qt's QtWidgets header folder>]. Prints each breach; fails on any.
set -u
root=${1:?usage: check_layers.sh <source root> [QtWidgets header folder]}
widgets=${2:-$(qtpaths6 --query QT_INSTALL_HEADERS 2>/dev/null)/QtWidgets}
cd "$root/src" || exit 2
[ -d "$widgets" ] || { echo "No QtWidgets headers at '$widgets'"; exit 2; }
out=$(mktemp)
trap 'rm -f "$out"' EXIT

# Each folder may include itself and these; app/ may include anything.
allowed() {
    case $1 in
        documents | settings | platform) echo "" ;;
        help) echo "documents" ;;
        association) echo "settings" ;;
        commands) echo "documents settings platform" ;;
        docwindow) echo "commands documents help platform" ;;
        modwindow) echo "mod commands documents help platform" ;;
        mod) echo "documents help" ;;
        cli) echo "mod documents help settings" ;;
        dialogs) echo "association settings platform" ;;
        mainwindow) echo "docwindow modwindow dialogs commands documents mod help settings platform" ;;
        app) echo "*" ;;
        *) echo "?" ;;
    esac
}

for dir in */; do
    folder=${dir%/}
    may=$(allowed "$folder")
    [ "$may" = "?" ] && echo "src/$folder: a folder the include rules do not know" >>"$out"
    grep -Hn '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$folder"/* | while IFS= read -r line; do
        target=$(printf '%s\n' "$line" | sed -n 's/.*include[[:space:]]*"\([^"]*\)".*/\1/p')
        case $target in
            ../* | */../*) echo "src/$line: includes by a relative path"; continue ;;
            */*) layer=${target%%/*} ;;
            *) layer=$folder ;;
        esac
        [ "$layer" = "$folder" ] || [ "$may" = "*" ] && continue
        case " $may " in *" $layer "*) continue ;; esac
        echo "src/$line: $folder/ may not include $layer/"
    done >>"$out"
done

# No widget header where there are no windows.
for folder in documents help settings association mod cli; do
    [ -d "$folder" ] || continue
    grep -Hn '^[[:space:]]*#[[:space:]]*include[[:space:]]*<' "$folder"/* | while IFS= read -r line; do
        header=$(printf '%s\n' "$line" | sed -n 's/.*include[[:space:]]*<\([^>]*\)>.*/\1/p')
        case $header in
            QtWidgets | QtWidgets/*) echo "src/$line: a widget header in $folder/" ;;
            *) [ -f "$widgets/$header" ] && echo "src/$line: a widget header in $folder/" ;;
        esac
    done >>"$out"
done

# Window singletons: an instance() accessor anywhere but Qt's application object.
grep -rnE '\binstance[[:space:]]*\(' --include='*.h' --include='*.cpp' . \
    | grep -vE 'Q(Core|Gui|)Application::instance' | sed 's|^\./|src/|; s|$| : a singleton accessor|' >>"$out"

# Mutable globals: declarations at file or namespace scope (the project does not indent namespaces),
# static members and function statics, that are not const; extern declarations that are not const.
find . -name '*.h' -o -name '*.cpp' | sort | while IFS= read -r file; do
    awk -v file="src/${file#./}" '
        function report(why) { printf "%s:%d: %s: %s\n", file, FNR, why, raw }
        # A declaration is a variable when it has "=" before any "(", no "(" at all, or a literal
        # as the first thing in its parentheses (a constructor call, not a parameter list).
        function isVariable(text,    paren, eq, inside) {
            gsub(/operator[^(]*\(/, "operator(", text)
            gsub(/[=!<>]=/, "", text)
            paren = index(text, "("); eq = index(text, "=")
            if (eq > 0 && (paren == 0 || eq < paren)) return 1
            if (paren == 0) return text ~ /;[[:space:]]*$/
            inside = substr(text, paren + 1)
            return inside ~ /^[[:space:]]*(u8?"|L?"|[0-9]|-|\x27|nullptr|true|false|QStringLiteral|QLatin1String|QByteArrayLiteral)/
        }
        {
            raw = $0
            line = $0
            if (inComment) { if (sub(/.*\*\//, "", line)) inComment = 0; else next }
            gsub(/\/\*.*\*\//, "", line)
            if (sub(/\/\*.*/, "", line)) inComment = 1
            sub(/\/\/.*/, "", line)
            if (line ~ /^[[:space:]]*$/ || line ~ /^[[:space:]]*#/) next
            if (line ~ /^[[:space:]]*extern[[:space:]]/ && line !~ /^[[:space:]]*extern[[:space:]]+(const|constexpr|"C")[[:space:]]/) {
                report("a non-const extern declaration"); next
            }
            if (line ~ /^[[:space:]]+static[[:space:]]/ || line ~ /^[[:space:]]+thread_local[[:space:]]/) {
                decl = line
                sub(/^[[:space:]]+/, "", decl)
            } else if (line ~ /^[A-Za-z_]/) {
                decl = line
            } else next
            if (decl ~ /^(class|struct|union|enum|namespace|using|typedef|template|friend|public|private|protected|signals|return|case|default|static_assert|Q_)/) next
            if (decl ~ /^[A-Z_0-9]+[[:space:]]*$/) next
            sub(/^((static|inline|thread_local)[[:space:]]+)+/, "", decl)
            if (decl ~ /^(const|constexpr|constinit[[:space:]]+const)[[:space:]]/ || decl ~ /^[A-Za-z_:<>, ]*[[:space:]]const[[:space:]]/) next
            if (isVariable(decl)) report("a mutable global")
        }' "$file"
done >>"$out"

if [ -s "$out" ]; then
    cat "$out"
    echo "$(wc -l <"$out") breach(es) of the design rules in src/"
    exit 1
fi
echo "The include directions, globals and widget headers of src/ keep to the design."
