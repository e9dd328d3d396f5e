// iwvestra-reference: the tool's two conversions, lookup (names of 20
// characters, retail prices) and count, each written as one plain loop with
// the same line rules and the same durability. The bench holds the tool's
// CPU time to this program's, so it stays as a careful programmer would
// first write it: one read buffer, one write buffer, a byte loop, and no
// vector code of its own.
//
//   iwvestra-reference lookup|count INPUT OUTPUT

#define _GNU_SOURCE
#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

enum {
    kBlock = 256 * 1024,
    kNameLength = 20,
    // The lookup line takes fields 0 to 5 at most, so only the first six
    // separators of a line matter.
    kSeparatorsKept = 6,
};

static void Fail(const char* what, const char* path) {
    fprintf(stderr, "iwvestra-reference: %s %s: %s\n", what, path, strerror(errno));
    exit(1);
}

static void* Allocate(void* old, size_t size) {
    void* memory = realloc(old, size);
    if (!memory) {
        fputs("iwvestra-reference: out of memory\n", stderr);
        exit(1);
    }
    return memory;
}

typedef struct {
    const char* path;
    char temporary[4096];
    int fd;
    char* data;
    size_t size;
    size_t room;
} Output;

// Written beside the target, so that the rename stays within one file system.
static void OpenOutput(Output* out, const char* path) {
    out->path = path;
    if (snprintf(out->temporary, sizeof out->temporary, "%s.%ld.new", path, (long)getpid()) >=
        (int)sizeof out->temporary) {
        errno = ENAMETOOLONG;
        Fail("cannot create", path);
    }
    out->fd = open(out->temporary, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (out->fd < 0) Fail("cannot create", out->temporary);
    out->room = kBlock;
    out->data = Allocate(NULL, out->room);
    out->size = 0;
}

static void Flush(Output* out) {
    const char* at = out->data;
    while (out->size > 0) {
        const ssize_t written = write(out->fd, at, out->size);
        if (written < 0) {
            if (errno == EINTR) continue;
            Fail("cannot write", out->temporary);
        }
        at += written;
        out->size -= (size_t)written;
    }
}

// Where to write the next `bytes` at most. A line's output is bounded by its
// length plus a few bytes, so one check a line is enough; only a line longer
// than the buffer makes it grow.
static char* Reserve(Output* out, size_t bytes) {
    if (out->room - out->size < bytes) {
        Flush(out);
        if (out->room < bytes) out->data = Allocate(out->data, out->room = bytes);
    }
    return out->data + out->size;
}

static void Wrote(Output* out, const char* end) { out->size = (size_t)(end - out->data); }

// The new file reaches the disk before it takes the target's name, and the
// name reaches it before the program says it is done: a power cut leaves
// either the old file or the whole new one.
static void CommitOutput(Output* out) {
    Flush(out);
    if (fsync(out->fd) != 0) Fail("cannot write", out->temporary);
    if (close(out->fd) != 0) Fail("cannot write", out->temporary);
    if (rename(out->temporary, out->path) != 0) Fail("cannot rename to", out->path);
    char folder[4096];
    const char* slash = strrchr(out->path, '/');
    if (!slash) {
        strcpy(folder, ".");
    } else {
        const size_t length = slash == out->path ? 1 : (size_t)(slash - out->path);
        memcpy(folder, out->path, length);
        folder[length] = '\0';
    }
    const int fd = open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0 || fsync(fd) != 0) Fail("cannot sync", folder);
    close(fd);
    free(out->data);
}

// One line and where its separators lie: the first kSeparatorsKept of them,
// how many there are, and the last one (NULL when there is none).
typedef struct {
    const char* begin;
    const char* end;
    const char* separators[kSeparatorsKept];
    size_t count;
    const char* last;
} Line;

typedef struct {
    const char* begin;
    const char* end;
} Field;

// Field `index` (below kSeparatorsKept), the empty text past the last one.
// A separator at the very end opens no further field; read as an empty
// field here, it gives the same bytes.
static Field FieldOf(const Line* line, size_t index) {
    if (index > line->count) return (Field){line->end, line->end};
    return (Field){index == 0 ? line->begin : line->separators[index - 1] + 1,
                   index < line->count ? line->separators[index] : line->end};
}

static size_t SizeOf(Field field) { return (size_t)(field.end - field.begin); }

static char* Put(char* to, Field field) {
    memcpy(to, field.begin, SizeOf(field));
    return to + SizeOf(field);
}

// A whole number of hundredths or thousandths as decimal text, by its length
// alone: "0" and the empty text stay as they are.
static char* PutDecimal(char* to, Field number, size_t places) {
    const size_t size = SizeOf(number);
    if (size == 0 || (size == 1 && *number.begin == '0')) return Put(to, number);
    if (size <= places) {
        *to++ = '0';
        *to++ = '.';
        for (size_t zeros = places - size; zeros > 0; --zeros) *to++ = '0';
        return Put(to, number);
    }
    to = Put(to, (Field){number.begin, number.end - places});
    *to++ = '.';
    return Put(to, (Field){number.end - places, number.end});
}

// Goods line "ignored;code;name;purchase price;retail price;quantity" to
// "name,code,quantity,0,retail price". The terminal's fields cannot quote a
// comma, so the name's commas become points.
static void LookupLine(const Line* line, Output* out) {
    const Field name = FieldOf(line, 2);
    const size_t nameSize = SizeOf(name) < kNameLength ? SizeOf(name) : kNameLength;
    char* to = Reserve(out, (size_t)(line->end - line->begin) + 32);
    for (size_t i = 0; i < nameSize; ++i) to[i] = name.begin[i] == ',' ? '.' : name.begin[i];
    to += nameSize;
    *to++ = ',';
    to = Put(to, FieldOf(line, 1));
    *to++ = ',';
    to = PutDecimal(to, FieldOf(line, 5), 3);
    memcpy(to, ",0,", 3);
    to += 3;
    to = PutDecimal(to, FieldOf(line, 4), 2);
    *to++ = '\r';
    *to++ = '\n';
    Wrote(out, to);
}

// Terminal line "code,quantity" to "INW;code;thousandths", where the quantity
// is decimal text: the part before its first point, then exactly three
// characters of fraction, padded with zeros or cut. Any other number of
// fields, "00000" (nothing counted) and the point alone give no line.
static void CountLine(const Line* line, Output* out) {
    const size_t fields = line->count + (line->last ? line->last + 1 < line->end : line->end > line->begin);
    if (fields != 2) return;
    const Field code = FieldOf(line, 0);
    const Field quantity = FieldOf(line, 1);
    const size_t size = SizeOf(quantity);
    if (size == 5 && memcmp(quantity.begin, "00000", 5) == 0) return;
    const char* point = memchr(quantity.begin, '.', size);
    if (point && size == 1) return;
    char* to = Reserve(out, (size_t)(line->end - line->begin) + 16);
    memcpy(to, "INW;", 4);
    to = Put(to + 4, code);
    *to++ = ';';
    size_t fraction = 0;
    if (point) {
        to = Put(to, (Field){quantity.begin, point});
        fraction = (size_t)(quantity.end - point - 1);
        if (fraction > 3) fraction = 3;
        to = Put(to, (Field){point + 1, point + 1 + fraction});
    } else {
        to = Put(to, quantity);
    }
    for (; fraction < 3; ++fraction) *to++ = '0';
    *to++ = '\r';
    *to++ = '\n';
    Wrote(out, to);
}

typedef void ConvertLine(const Line* line, Output* out);

// Cuts the input into lines: CR LF, a lone CR or a lone LF ends one (LF CR is
// two), a last line needs no line end, and a NUL ends the text. A line that
// the end of the buffer cuts is moved to its front and scanned again with
// the next block; the buffer grows only for a line longer than itself.
static void Convert(const char* inputPath, const char* outputPath, char separator, ConvertLine* convertLine) {
    const int in = open(inputPath, O_RDONLY | O_CLOEXEC);
    if (in < 0) Fail("cannot open", inputPath);
    Output out;
    OpenOutput(&out, outputPath);

    // 1 for the separator, 2 for what ends a line.
    unsigned char kind[256] = {0};
    kind[(unsigned char)separator] = 1;
    kind['\r'] = kind['\n'] = kind['\0'] = 2;

    size_t room = kBlock;
    char* buffer = Allocate(NULL, room + 1);
    size_t held = 0;  // bytes of a cut line at the buffer's front
    int afterCr = 0;  // the last line ended with a CR: an LF next is part of its line end
    int atEnd = 0;
    for (;;) {
        if (held == room) buffer = Allocate(buffer, (room *= 2) + 1);
        const ssize_t got = read(in, buffer + held, room - held);
        if (got < 0) {
            if (errno == EINTR) continue;
            Fail("cannot read", inputPath);
        }
        atEnd = got == 0;
        const char* const end = buffer + held + got;
        // A NUL after the bytes read stops the scan without a bound check;
        // only one before that is the input's own.
        buffer[held + got] = '\0';
        const char* at = buffer;
        Line line;
        for (;;) {
            if (afterCr && at < end) {
                afterCr = 0;
                if (*at == '\n') ++at;
            }
            line.begin = at;
            line.count = 0;
            line.last = NULL;
            for (;;) {
                while (!kind[(unsigned char)*at]) ++at;
                if (*at != separator) break;
                if (line.count < kSeparatorsKept) line.separators[line.count] = at;
                ++line.count;
                line.last = at++;
            }
            line.end = at;
            if (*at == '\0') {
                if (at == end && !atEnd) break;
                if (at > line.begin) convertLine(&line, &out);
                atEnd = 1;
                break;
            }
            convertLine(&line, &out);
            afterCr = *at == '\r';
            ++at;
        }
        if (atEnd) break;
        held = (size_t)(end - line.begin);
        memmove(buffer, line.begin, held);
    }
    free(buffer);
    close(in);
    CommitOutput(&out);
}

int main(int argc, char** argv) {
    if (argc == 4 && strcmp(argv[1], "lookup") == 0) {
        Convert(argv[2], argv[3], ';', LookupLine);
    } else if (argc == 4 && strcmp(argv[1], "count") == 0) {
        Convert(argv[2], argv[3], ',', CountLine);
    } else {
        fputs("usage: iwvestra-reference lookup|count INPUT OUTPUT\n", stderr);
        return 2;
    }
    return 0;
}
