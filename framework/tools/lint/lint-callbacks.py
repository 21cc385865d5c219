#!/usr/bin/env python3
"""Checks that every function the system calls back runs its whole body behind the callback barrier.

The shipped 32-bit build cannot unwind an exception through system frames, so every function that
Windows (or the C runtime, or COM) calls must have its whole body inside FW_CALLBACK_BODY(...) or
FW_CALLBACK_VOID(...) from framework/win32/callback.h:

    LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
        FW_CALLBACK_BODY(0, { return Dispatch(h, m, w, l); })
    }

A callback is recognised by its calling convention: CALLBACK, WINAPI, APIENTRY, PASCAL, WINAPIV,
__stdcall, __cdecl, __attribute__((stdcall)), DIAMONDAPI and the cabinet FN* macros, and the COM
forms STDMETHODIMP, STDMETHODIMP_(type), STDMETHOD(name), STDMETHOD_(type, name),
STDMETHODCALLTYPE. Definitions of named functions and lambdas carrying one of them are checked;
declarations, typedefs and function pointer types are not.

Program entry points (WinMain, DllMain, ...) are called before anything could handle an exception and
opt out with a comment on the definition's first line or the line before it:

    // fw-lint: entry point
    int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { ... }

Known violations that are still to be mended are listed in callback-allowlist.txt as
"path/relative/to/root.cpp:FunctionName" (the name "<lambda>" covers a file's lambdas).

Usage:
    lint-callbacks.py --root REPO [--allowlist FILE]   scan the repository
    lint-callbacks.py FILE...                            scan the files given
    lint-callbacks.py --self-test DIR                    check the lint against its samples
"""

import argparse
import os
import re
import sys

SCANNED_FOLDERS = ["framework", "engine", "sfx", "app", "widgets", "uisupport", "installer", "richtext"]
# The stand-alone extractor stub uses neither the framework nor exceptions; the lint's own samples
# hold violations on purpose.
EXCLUDED_FOLDERS = ["sfx/stub", "framework/tools/lint/testdata"]
# A test stand-in for a system library: its exports are called by the program under test, not by the
# system, and it has no framework to hand an exception to.
EXCLUDED_FILES = ["app/win32/testdata/mapi_standin.cpp"]
EXTENSIONS = (".cpp", ".h", ".c", ".cc", ".hpp", ".inl")

CONVENTIONS = {
    "CALLBACK", "WINAPI", "APIENTRY", "PASCAL", "WINAPIV", "__stdcall", "_stdcall", "__cdecl", "_cdecl",
    "CDECL", "DIAMONDAPI", "STDMETHODCALLTYPE", "STDAPICALLTYPE", "STDMETHODIMP",
}
ATTRIBUTE_CONVENTIONS = {"stdcall", "__stdcall__", "cdecl", "__cdecl__"}
# Cabinet callback macros: FNALLOC(name) expands to the whole declarator.
NAME_MACROS = re.compile(r"^FN(ALLOC|FREE|OPEN|READ|WRITE|CLOSE|SEEK|FDINOTIFY|FDIDECRYPT|FCI[A-Z]+)$")
WRAPPERS = {"FW_CALLBACK_BODY", "FW_CALLBACK_VOID"}
ENGINE_WRAPPERS = {"Guarded"}
OPT_OUT = "fw-lint: entry point"
EXPECT_MARK = "lint-expect: unwrapped"
TRAILING_SPECIFIERS = {"const", "volatile", "noexcept", "override", "final", "mutable", "constexpr", "consteval",
                       "throw", "__attribute__", "&", "&&", "requires"}


class Finding:
    def __init__(self, path, line, name, why):
        self.path, self.line, self.name, self.why = path, line, name, why

    def __str__(self):
        return f"{self.path}:{self.line}: {self.name}: {self.why}"


def strip_source(text):
    """Blanks comments, string and character literals and preprocessor lines, keeping line breaks."""
    out = []
    i, n = 0, len(text)
    at_line_start = True
    while i < n:
        c = text[i]
        if at_line_start and c == "#":
            # A directive runs to the end of the line, continued by backslashes.
            while i < n and text[i] != "\n":
                if text[i] == "\\" and i + 1 < n and text[i + 1] == "\n":
                    out.append("\n")
                    i += 2
                    continue
                i += 1
            continue
        if c == "\n":
            out.append("\n")
            at_line_start = True
            i += 1
            continue
        if c in " \t\r\f\v":
            out.append(c)
            i += 1
            continue
        at_line_start = False
        if text.startswith("//", i):
            while i < n and text[i] != "\n":
                i += 1
            continue
        if text.startswith("/*", i):
            end = text.find("*/", i + 2)
            end = n if end < 0 else end + 2
            out.append(re.sub(r"[^\n]", " ", text[i:end]))
            i = end
            continue
        raw = re.match(r'(?:u8|[uUL])?R"([^()\\ ]{0,16})\(', text[i:i + 24])
        if raw and (i == 0 or not (text[i - 1].isalnum() or text[i - 1] == "_")):
            close = ")" + raw.group(1) + '"'
            end = text.find(close, i + raw.end())
            end = n if end < 0 else end + len(close)
            out.append('""' + re.sub(r"[^\n]", " ", text[i + 2:end]))
            i = end
            continue
        if c in "\"'":
            # A digit separator (1'000) is not a character literal.
            if c == "'" and i > 0 and text[i - 1].isalnum() and i + 1 < n and text[i + 1].isalnum():
                out.append(" ")
                i += 1
                continue
            j = i + 1
            while j < n and text[j] != c and text[j] != "\n":
                j += 2 if text[j] == "\\" else 1
            out.append(c + " " * max(0, min(j, n) - i - 1) + (c if j < n else ""))
            i = j + 1
            continue
        out.append(c)
        i += 1
    return "".join(out)


TOKEN = re.compile(r"[A-Za-z_][A-Za-z_0-9]*|\d[\w.']*|::|->|\.\.\.|\"\s*\"|\S")


def tokenize(text):
    tokens = []
    for line_no, line in enumerate(text.split("\n"), 1):
        for m in TOKEN.finditer(line):
            tokens.append((m.group(0), line_no))
    return tokens


def is_ident(tok):
    return re.match(r"^[A-Za-z_][A-Za-z_0-9]*$", tok) is not None


class Scanner:
    def __init__(self, path, raw):
        self.path = path
        self.raw_lines = raw.split("\n")
        self.toks = tokenize(strip_source(raw))
        self.match = self._pairs()
        self.stop = ""
        # Callbacks declared here without a body: "Class::Name" or "Name" -> parameter count.
        self.declared = {}
        self.classes = self._class_bodies()

    def _class_bodies(self):
        """(open, close, name) of every class, struct or union body."""
        bodies = []
        for i, (t, _) in enumerate(self.toks):
            if t not in ("class", "struct", "union") or self.tok(i - 1) == "enum" or not is_ident(self.tok(i + 1)):
                continue
            j = i + 2
            if self.tok(j) == "final":
                j += 1
            if self.tok(j) not in ("{", ":"):
                continue
            while j < len(self.toks) and self.tok(j) not in ("{", ";"):
                j = self.close_of(j) + 1 if self.tok(j) in "([" else j + 1
            if self.tok(j) == "{":
                bodies.append((j, self.close_of(j), self.tok(i + 1)))
        return bodies

    def enclosing_class(self, i):
        best = None
        for start, end, name in self.classes:
            if start < i < end and (best is None or start > best[0]):
                best = (start, name)
        return best[1] if best else None

    def param_count(self, open_index):
        close = self.close_of(open_index)
        if close == open_index + 1 or (close == open_index + 2 and self.tok(open_index + 1) == "void"):
            return 0
        count, i = 1, open_index + 1
        while i < close:
            t = self.tok(i)
            if t in "([{":
                i = self.close_of(i) + 1
                continue
            if t == "<":  # template arguments in a parameter type
                depth = 0
                while i < close:
                    depth += {"<": 1, ">": -1}.get(self.tok(i), 0)
                    if depth == 0:
                        break
                    i += 1
            elif t == ",":
                count += 1
            i += 1
        return count

    def _pairs(self):
        match, stack = {}, []
        for i, (t, _) in enumerate(self.toks):
            if t in "([{":
                stack.append(i)
            elif t in ")]}" and stack:
                j = stack.pop()
                match[i], match[j] = j, i
        return match

    def tok(self, i):
        return self.toks[i][0] if 0 <= i < len(self.toks) else ""

    def line(self, i):
        return self.toks[min(i, len(self.toks) - 1)][1] if self.toks else 0

    def close_of(self, i):
        return self.match.get(i, len(self.toks))

    def opted_out(self, first_line, last_line):
        for ln in range(max(1, first_line - 1), last_line + 1):
            if ln <= len(self.raw_lines) and OPT_OUT in self.raw_lines[ln - 1]:
                return True
        return False

    def skip_trailing(self, i):
        """From just past a parameter list, skips specifiers up to the body or the end of a declaration."""
        self.stop = ""
        while i < len(self.toks):
            t = self.tok(i)
            if t == "{":
                return i
            if t in (";", ",", "=", ")", ":", "}") or t == "":
                self.stop = t
                return None
            if t == "->":
                # A trailing return type ends at the body or the end of the declaration.
                i += 1
                while i < len(self.toks) and self.tok(i) not in ("{", ";", ",", "=", ")"):
                    i = self.close_of(i) + 1 if self.tok(i) in "([" else i + 1
                continue
            if t in TRAILING_SPECIFIERS or t in CONVENTIONS or t in ("try",):
                if t == "try":
                    return i  # a function-try-block is not wrapped
                i += 1
                if self.tok(i) == "(":
                    i = self.close_of(i) + 1
                continue
            if is_ident(t) and self.tok(i + 1) == "(":
                i = self.close_of(i + 1) + 1  # an attribute macro
                continue
            return None
        return None

    def body_wrapped(self, b):
        """True when the body at token b holds exactly one barrier macro call, or returns what an
        engine barrier gives (a catch-all that carries the exception back to the caller)."""
        end = self.close_of(b)
        i = b + 1
        if self.tok(i) == "return" and self.tok(i + 1) in ENGINE_WRAPPERS:
            return True
        if self.tok(i) not in WRAPPERS or self.tok(i + 1) != "(":
            return False
        i = self.close_of(i + 1) + 1
        if self.tok(i) == ";":
            i += 1
        return i == end

    def check_definition(self, name, conv_index, body, findings):
        if body is None:
            return
        first_line = self.line(conv_index)
        if self.opted_out(first_line, self.line(body)):
            return
        if self.tok(body) == "{" and self.body_wrapped(body):
            return
        findings.append(Finding(self.path, first_line, name,
                                "called by the system, but its body is not wholly inside FW_CALLBACK_BODY or "
                                "FW_CALLBACK_VOID"))

    def function_after(self, i):
        """From token i, reads `[qualified::]name (params)`; returns (name, index past params) or None."""
        parts = []
        while True:
            t = self.tok(i)
            if t == "::":
                parts.append(t)
                i += 1
                continue
            if t == "~":
                parts.append(t)
                i += 1
                continue
            if t == "operator":
                # operator() and the other operators: the name runs to the parameter list.
                j = i + 1
                if self.tok(j) == "(" and self.tok(j + 1) == ")":
                    j += 2
                while self.tok(j) not in ("(", ";", "{", ""):
                    j += 1
                parts.append("operator")
                i = j
                break
            if is_ident(t):
                parts.append(t)
                i += 1
                if self.tok(i) == "<":  # a template-id such as Class<T>::Proc
                    depth, j = 0, i
                    while j < len(self.toks):
                        if self.tok(j) == "<":
                            depth += 1
                        elif self.tok(j) == ">":
                            depth -= 1
                            if depth == 0:
                                break
                        elif self.tok(j) in (";", "{", "(", ")"):
                            return None
                        j += 1
                    i = j + 1
                if self.tok(i) == "::":
                    continue
                break
            return None
        if not parts or self.tok(i) != "(":
            return None
        return "".join(parts), self.close_of(i) + 1

    def remember_declaration(self, name, past):
        parts = name.split("::")
        cls = self.enclosing_class(past)
        key = f"{cls}::{parts[-1]}" if cls and len(parts) == 1 else "::".join(parts[-2:])
        self.declared[key] = self.param_count(self.match.get(past - 1, past - 1))

    def has_convention_before(self, i):
        """True when the statement that ends at token i names a calling convention."""
        j = i - 1
        while j >= 0 and self.tok(j) not in (";", "{", "}"):
            t = self.tok(j)
            if t in CONVENTIONS or t == "STDMETHODIMP_" or (t == "__attribute__" and ATTRIBUTE_CONVENTIONS & {
                    self.tok(k) for k in range(j + 1, self.close_of(j + 1))}):
                return True
            if t == ")" and j in self.match:
                j = self.match[j]
            j -= 1
        return False

    def scan_plain_definitions(self, declared):
        """Definitions of declared callbacks that leave the convention to the declaration:
        `LRESULT TWindow::Proc(HWND, UINT, WPARAM, LPARAM) { ... }`."""
        findings = []
        names = {key.split("::")[-1] for key in declared}
        for i, (t, _) in enumerate(self.toks):
            if t not in names or self.tok(i + 1) != "(":
                continue
            before = self.tok(i - 1)
            if before == "::" and is_ident(self.tok(i - 2)):
                key = f"{self.tok(i - 2)}::{t}"
                start = i - 2
            elif before in (".", "->", "::"):
                continue
            else:
                cls = self.enclosing_class(i)
                key = f"{cls}::{t}" if cls else t
                start = i
            count = declared.get(key)
            if count is None and "::" in key and before != "::":
                count = declared.get(t)
            if count is None or self.param_count(i + 1) != count:
                continue
            prev = self.tok(start - 1)
            if not (is_ident(prev) or prev in ("*", "&", ">")) or prev in ("return", "new", "else", "do"):
                continue  # a definition has a return type
            body = self.skip_trailing(self.close_of(i + 1) + 1)
            if body is None or self.has_convention_before(start):
                continue
            self.check_definition(key, start, body, findings)
        return findings

    def scan(self):
        findings = []
        i = 0
        n = len(self.toks)
        while i < n:
            t = self.tok(i)
            conv = None
            if t in CONVENTIONS:
                conv = i + 1
            elif t == "STDMETHODIMP_" and self.tok(i + 1) == "(":
                conv = self.close_of(i + 1) + 1
            elif t == "__attribute__" and self.tok(i + 1) == "(" and self.tok(i + 2) == "(":
                inner = {self.tok(k) for k in range(i + 3, self.close_of(i + 1))}
                if inner & ATTRIBUTE_CONVENTIONS:
                    conv = self.close_of(i + 1) + 1
            elif t in ("STDMETHOD", "STDMETHOD_") and self.tok(i + 1) == "(":
                close = self.close_of(i + 1)
                name = self.tok(close - 1)
                if self.tok(close + 1) == "(":
                    body = self.skip_trailing(self.close_of(close + 1) + 1)
                    self.check_definition(name, i, body, findings)
                i = close + 1
                continue
            elif NAME_MACROS.match(t) and self.tok(i + 1) == "(" and self.tok(i + 3) == ")":
                body = self.skip_trailing(i + 4)
                self.check_definition(self.tok(i + 2), i, body, findings)
                i += 4
                continue
            if conv is None:
                i += 1
                continue
            # A lambda: [captures](params) CALLBACK ... { body }
            if self.tok(i - 1) == ")" and self.tok(self.match.get(i - 1, 0) - 1) == "]":
                body = self.skip_trailing(conv)
                self.check_definition("<lambda>", i, body, findings)
                i = conv
                continue
            # Further conventions or attributes before the name.
            while self.tok(conv) in CONVENTIONS or self.tok(conv) == "__attribute__":
                conv = self.close_of(conv + 1) + 1 if self.tok(conv) == "__attribute__" else conv + 1
            found = self.function_after(conv)
            if found:
                name, past = found
                body = self.skip_trailing(past)
                if body is None and self.stop in (";", "="):
                    self.remember_declaration(name, past)
                self.check_definition(name, i, body, findings)
            i = conv
        return findings


def scan_all(named_sources):
    """Scans (shown name, text) pairs: callbacks defined with their convention, then definitions of
    callbacks declared elsewhere (a class, a header) that leave the convention off."""
    scanners = [Scanner(shown, raw) for shown, raw in named_sources]
    findings, declared = [], {}
    for s in scanners:
        findings.extend(s.scan())
        declared.update(s.declared)
    for s in scanners:
        findings.extend(s.scan_plain_definitions(declared))
    return findings


def read_source(path):
    with open(path, encoding="latin-1") as f:
        return f.read()


def repository_files(root):
    for folder in SCANNED_FOLDERS:
        base = os.path.join(root, folder)
        if not os.path.isdir(base):
            continue
        for dirpath, dirnames, filenames in os.walk(base):
            rel_dir = os.path.relpath(dirpath, root).replace(os.sep, "/")
            dirnames[:] = sorted(d for d in dirnames
                                 if f"{rel_dir}/{d}" not in EXCLUDED_FOLDERS and not d.startswith("."))
            for name in sorted(filenames):
                if name.endswith(EXTENSIONS) and f"{rel_dir}/{name}" not in EXCLUDED_FILES:
                    yield os.path.join(dirpath, name), f"{rel_dir}/{name}"


def read_allowlist(path):
    allowed = set()
    if path and os.path.exists(path):
        with open(path, encoding="utf-8") as f:
            for line in f:
                line = line.split("#", 1)[0].strip()
                if line:
                    allowed.add(line)
    return allowed


def lint_repository(root, allowlist):
    allowed = read_allowlist(allowlist)
    files = list(repository_files(root))
    count = len(files)
    findings = scan_all((shown, read_source(path)) for path, shown in files)
    failing = [f for f in findings if f"{f.path}:{f.name}" not in allowed]
    used = {f"{f.path}:{f.name}" for f in findings}
    for entry in sorted(allowed - used):
        print(f"note: {entry} is in the allow-list but no longer needs to be", file=sys.stderr)
    for f in failing:
        print(f)
    allowed_count = len(findings) - len(failing)
    print(f"callback lint: {count} files, {len(failing)} unwrapped callbacks"
          + (f", {allowed_count} allowed" if allowed_count else ""), file=sys.stderr)
    return 1 if failing else 0


def self_test(folder):
    """Every line marked `lint-expect: unwrapped` must be reported, and nothing else."""
    ok = True
    samples = sorted(n for n in os.listdir(folder) if n.endswith(".sample"))
    if not samples:
        print(f"self-test: no samples in {folder}")
        return 1
    for name in samples:
        raw = read_source(os.path.join(folder, name))
        want = {i for i, line in enumerate(raw.split("\n"), 1) if EXPECT_MARK in line}
        got = {f.line for f in scan_all([(name, raw)])}
        for line in sorted(want - got):
            print(f"self-test: {name}:{line}: violation not found")
            ok = False
        for line in sorted(got - want):
            print(f"self-test: {name}:{line}: reported, but the definition is fine")
            ok = False
        print(f"self-test: {name}: {len(got & want)} of {len(want)} expected violations found")
    return 0 if ok else 1


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--root", help="repository root to scan")
    parser.add_argument("--allowlist", help="known violations (default: callback-allowlist.txt beside this script)")
    parser.add_argument("--self-test", metavar="DIR", help="check the lint against the samples in DIR")
    parser.add_argument("files", nargs="*")
    args = parser.parse_args()
    if args.self_test:
        return self_test(args.self_test)
    if args.root:
        allowlist = args.allowlist or os.path.join(os.path.dirname(os.path.abspath(__file__)),
                                                   "callback-allowlist.txt")
        return lint_repository(args.root, allowlist)
    if not args.files:
        parser.error("give --root, --self-test or files")
    findings = scan_all((path, read_source(path)) for path in args.files)
    for f in findings:
        print(f)
    return 1 if findings else 0


if __name__ == "__main__":
    sys.exit(main())
