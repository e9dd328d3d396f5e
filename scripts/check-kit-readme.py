#!/usr/bin/env python3
"""Checks a kit's README.txt against the kit itself, so that it cannot drift.

Usage: check-kit-readme.py KIT_FOLDER EXPORTS_LIST TOOL [DESCRIBED]
       check-kit-readme.py --extract-only DIR KIT_FOLDER

  KIT_FOLDER    the unpacked kit: README.txt and everything it names
  EXPORTS_LIST  "ordinal name" lines, as the build reads them from IWVestra.h
  TOOL          the iwvestra tool, which converts the README's examples
  DESCRIBED     what the kit's DLL answers, as the kit test host's describe
                command writes it; without it the parameter and property
                tables are read but not compared

What it checks:
  - the README is UTF-8 with CR LF line ends and no placeholder left;
  - it names nothing from the repository, and every relative path it names
    (a\\b) is in the kit; the listing of section 1 is exactly the kit's files;
  - the entry-point table is the export list, in order;
  - every block "--- title ---" ... "--- end ---": a sample file's block holds
    exactly that file; a block of example lines ("goods line -> lookup line",
    "terminal line -> count line") gives, line by line, what TOOL gives;
    "property N" is the DLL's text of that code;
  - the parameter and property tables are what the DLL answers, the
    constants named there have those values in include/IWVestra.h, and the
    prompts' byte counts are right.
Prints one line per problem and exits 1 when there is any.

With --extract-only it checks nothing but writes every ".c" block into DIR
under its title, for the build checks.
"""

import os
import re
import subprocess
import sys
import tempfile

problems = []


def problem(text):
    problems.append(text)


def windows_path(path):
    return os.path.join(*path.split("\\"))


def read_readme(kit):
    data = open(os.path.join(kit, "README.txt"), "rb").read()
    if re.search(rb"(?<!\r)\n", data) or re.search(rb"\r(?!\n)", data):
        problem("README.txt has a line end other than CR LF")
    if not data.endswith(b"\r\n"):
        problem("README.txt does not end with CR LF")
    try:
        text = data.decode("utf-8")
    except UnicodeDecodeError as error:
        problem(f"README.txt is not UTF-8: {error}")
        text = data.decode("utf-8", "replace")
    return text.replace("\r\n", "\n").split("\n")


def blocks(lines):
    """(title, body lines, line number) of every block; body lines lose the
    block's four-space indent."""
    found = []
    title = None
    for number, line in enumerate(lines, 1):
        opening = re.fullmatch(r"    --- (.+) ---", line)
        if title is None and opening and opening.group(1) != "end":
            title, body, start = opening.group(1), [], number
        elif title is not None and line == "    --- end ---":
            found.append((title, body, start))
            title = None
        elif title is not None:
            if line and not line.startswith("    "):
                problem(f"README.txt line {number}: a line of block \"{title}\" is not indented by four spaces")
            body.append(line[4:])
    if title is not None:
        problem(f"README.txt: block \"{title}\" has no \"--- end ---\"")
    return found


def outside_blocks(lines):
    inside = False
    for number, line in enumerate(lines, 1):
        if re.fullmatch(r"    --- (.+) ---", line):
            inside = line != "    --- end ---"
            continue
        if not inside:
            yield number, line


def kit_files(kit):
    files = set()
    for folder, _, names in os.walk(kit):
        for name in names:
            files.add(os.path.relpath(os.path.join(folder, name), kit).replace(os.sep, "\\"))
    return files


def check_names(lines, kit):
    files = kit_files(kit)
    folders = {f.rsplit("\\", 1)[0] for f in files if "\\" in f}
    repository = re.compile(r"\b(build|scripts|tools|tests|src|cmake)/|\bmake (test|dist|demo)\b|CMakeLists|\.cpp\b|README\.md")
    # A path inside the kit, as a\b: not one that goes on from a drive, a
    # folder or a variable, nor a C string's "a\\b".
    relative = re.compile(r"(?<![\w:\\%.$-])((?:[\w.-]+\\)+[\w.-]*)(?![\\\w.-])")
    for number, line in outside_blocks(lines):
        if "@" in line and re.search(r"@[A-Z_]+@", line):
            problem(f"README.txt line {number}: a placeholder is left: {line.strip()}")
        if repository.search(line):
            problem(f"README.txt line {number} names something of the repository: {line.strip()}")
        for path in relative.findall(line):
            path = path.rstrip(".")
            if path not in files and path.rstrip("\\") not in folders:
                problem(f"README.txt line {number} names {path}, which the kit does not hold")
    listed = set()
    section = False
    for line in lines:
        if line == "1. What the kit holds":
            section = True
        elif section and re.fullmatch(r"\d+\. .+", line):
            break
        elif section:
            row = re.match(r"    (\S+)", line)
            if row:
                listed.add(row.group(1))
    if listed != files:
        for missing in sorted(files - listed):
            problem(f"README.txt section 1 does not list {missing}")
        for extra in sorted(listed - files):
            problem(f"README.txt section 1 lists {extra}, which the kit does not hold")


def table(lines, header):
    """The rows under a table's header line and its dashes, up to a blank line,
    split at runs of two or more spaces."""
    try:
        at = lines.index(header)
    except ValueError:
        problem(f"README.txt has no table headed \"{header.strip()}\"")
        return []
    rows = []
    for line in lines[at + 2:]:
        if not line.strip():
            break
        rows.append(re.split(r"\s{2,}", line.strip()))
    return rows


def check_exports(lines, exports_list):
    expected = [line.split() for line in open(exports_list) if line.strip()]
    rows = [row[:2] for row in table(lines, "    Ordinal  Entry point                  What it does")]
    if rows != expected:
        problem(f"README.txt's entry-point table lists {rows}, the header declares {expected}")


def run_tool(tool, arguments):
    result = subprocess.run([tool] + arguments, capture_output=True)
    if result.returncode != 0:
        problem(f"{' '.join(arguments)}: {result.stderr.decode(errors='replace').strip()}")
    return result.returncode == 0


def converted(tool, command, options, line):
    """The output lines that the tool makes of one input line."""
    with tempfile.TemporaryDirectory() as scratch:
        source = os.path.join(scratch, "in.txt")
        target = os.path.join(scratch, "out.txt")
        with open(source, "wb") as file:
            file.write(line.encode("cp1250") + b"\r\n")
        if not run_tool(tool, [command, source, target] + options):
            return None
        output = open(target, "rb").read().decode("cp1250")
    return output.split("\r\n")[:-1] if output else []


def lookup_options(settings):
    options = []
    for setting in filter(None, (s.strip() for s in (settings or "").split(","))):
        length = re.fullmatch(r"(\d+) liter", setting)
        if length:
            options += ["--name-length", length.group(1)]
        elif setting in ("Cena det", "Cena zak"):
            options += ["--price-level", "1" if setting == "Cena zak" else "0"]
        else:
            problem(f"README.txt: example setting \"{setting}\" is not a value of dlugosc or cena")
    return options


def check_examples(title, body, tool):
    kind = re.fullmatch(r"(goods line -> lookup line|terminal line -> count line)(?:, (.+))?", title)
    command = "lookup" if kind.group(1).startswith("goods") else "count"
    options = lookup_options(kind.group(2)) if command == "lookup" else []
    if kind.group(2) and command == "count":
        problem(f"README.txt: a count has no settings: \"{title}\"")
    for line in body:
        pair = re.fullmatch(r"(.*?)\s+->  (.*)", line)
        if not pair:
            problem(f"README.txt, \"{title}\": not an example: {line}")
            continue
        given = "" if pair.group(1) == "(empty line)" else pair.group(1)
        expected = [] if pair.group(2) == "(none)" else [pair.group(2)]
        got = converted(tool, command, options, given)
        if got is not None and got != expected:
            problem(f"README.txt, \"{title}\": {pair.group(1)} gives {got or '(none)'}, not {pair.group(2)}")


def check_sample(title, body, kit):
    path = os.path.join(kit, windows_path(title))
    if not os.path.isfile(path):
        problem(f"README.txt shows {title}, which the kit does not hold")
        return
    text = open(path, "rb").read().decode("cp1250")
    if text.replace("\r\n", "") != text.replace("\n", "").replace("\r", ""):
        problem(f"{title} has a line end other than CR LF")
    if text.split("\r\n")[:-1] != body or not text.endswith("\r\n"):
        problem(f"README.txt's block {title} is not what the kit's {title} holds")


def read_described(path):
    properties, parameters = {}, []
    for raw in open(path, "rb").read().decode("cp1250").split("\n"):
        fields = raw.split("\t")
        if fields[0] == "property":
            properties[int(fields[1])] = fields[2].replace("\\n", "\n").replace("\\\\", "\\")
        elif fields[0] == "parameter":
            parameters.append(fields[1:5] + [", ".join(fields[5].split("|"))])
        elif fields[0] == "problem":
            problem(f"the kit's DLL: {fields[1]}")
    return properties, parameters


def header_constants(kit):
    text = open(os.path.join(kit, "include", "IWVestra.h")).read()
    return {name: int(value) for name, value in re.findall(r"#define (IWV_PROPERTY_\w+) (\d+)", text)}


def check_properties(lines, prompts, described, kit):
    constants = header_constants(kit)
    rows = table(lines, "    Code   Constant in IWVestra.h      Text")
    stated = {}
    for row in rows:
        code, constant, text = row[0], row[1], " ".join(row[2:])
        quoted = re.match(r'"(.*?)"', text)
        prompt = re.fullmatch(r"the (import|export) prompt below, (\d+) bytes", text)
        if quoted:
            value = quoted.group(1)
        elif prompt and code in prompts:
            value = prompts[code]
            if len(value.encode("cp1250")) != int(prompt.group(2)):
                problem(f"README.txt: the prompt of code {code} is {len(value.encode('cp1250'))} bytes, not {prompt.group(2)}")
        else:
            problem(f"README.txt: property {code}: cannot read \"{text}\"")
            continue
        if constant != "-" and constants.get(constant) != (int(code) if code.isdigit() else None):
            problem(f"README.txt: {constant} is not {code} in include\\IWVestra.h")
        stated[code] = value
    if described is None:
        return
    for code, text in sorted(described.items()):
        expected = stated.get(str(code), stated.get("other"))
        if expected != text:
            problem(f"README.txt says property {code} is {expected!r}; the DLL answers {text!r}")
    for code in stated:
        if code != "other" and int(code) not in described:
            problem(f"README.txt's property {code} was not asked of the DLL")


def check_parameters(lines, described):
    rows = table(lines, "    Index  Key      Caption       Default   Values, index 0 first")
    if described is not None and rows != described:
        problem(f"README.txt's parameter table is {rows}; the DLL answers {described}")


def extract_code(folder, kit):
    for title, body, _ in blocks(read_readme(kit)):
        if title.endswith(".c"):
            with open(os.path.join(folder, title), "w") as file:
                file.write("\n".join(body) + "\n")


def check_blocks(lines, kit, tool):
    """Checks every block; returns the prompts' texts by property code."""
    prompts = {}
    titles = set()
    for title, body, start in blocks(lines):
        if title in titles:
            problem(f"README.txt line {start}: a second block \"{title}\"")
        titles.add(title)
        if title.startswith("samples\\"):
            check_sample(title, body, kit)
        elif re.match(r"(goods|terminal) line -> ", title):
            check_examples(title, body, tool)
        elif re.fullmatch(r"property \d+", title):
            prompts[title.split()[1]] = "\n".join(body)
        elif not title.endswith(".c"):
            problem(f"README.txt line {start}: unknown block \"{title}\"")
    for needed in ("samples\\goods.txt", "samples\\inwout.txt", "samples\\inwin.txt", "samples\\count.txt",
                   "iwv_catch.c", "host.c"):
        if needed not in titles:
            problem(f"README.txt has no block \"{needed}\"")
    return prompts


def main(arguments):
    if len(arguments) == 3 and arguments[0] == "--extract-only":
        extract_code(arguments[1], arguments[2])
        return 0
    if len(arguments) not in (3, 4):
        print(__doc__.strip().splitlines()[2], file=sys.stderr)
        return 2
    kit, exports_list, tool = arguments[:3]
    lines = read_readme(kit)
    properties, parameters = read_described(arguments[3]) if len(arguments) == 4 else (None, None)
    check_names(lines, kit)
    check_exports(lines, exports_list)
    prompts = check_blocks(lines, kit, tool)
    check_properties(lines, prompts, properties, kit)
    check_parameters(lines, parameters)
    for text in problems:
        print(f"check-kit-readme: {text}")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
