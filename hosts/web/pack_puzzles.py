"""Packs the puzzle files into one file the page downloads after its first
frame: a line "nonogram-puzzles N", N bytes of index ("path size" lines, paths
relative to the puzzle folder, in the order of the contents), then the files'
bytes one after the other. Credits and the catalogue's manifest stay out: the
game never reads them.

    pack_puzzles.py TASKS_FOLDER OUTPUT
"""
import os
import sys

LEFT_OUT = {"CREDITS", "MANIFEST.tsv"}


def main():
    root, output = sys.argv[1], sys.argv[2]
    paths = []
    for folder, dirs, files in os.walk(root):
        dirs.sort()
        for name in sorted(files):
            path = os.path.relpath(os.path.join(folder, name), root).replace(os.sep, "/")
            if name in LEFT_OUT or any(c in path for c in " \n"):
                continue
            paths.append(path)
    paths.sort()
    contents = []
    index = []
    for path in paths:
        with open(os.path.join(root, path), "rb") as f:
            data = f.read()
        contents.append(data)
        index.append("%s %d\n" % (path, len(data)))
    index_bytes = "".join(index).encode("utf-8")
    temporary = output + ".part"
    with open(temporary, "wb") as f:
        f.write(b"nonogram-puzzles %d\n" % len(index_bytes))
        f.write(index_bytes)
        for data in contents:
            f.write(data)
    os.replace(temporary, output)


if __name__ == "__main__":
    main()
