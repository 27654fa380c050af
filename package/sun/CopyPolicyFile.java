import java.io.IOException;
import java.nio.file.Files;
import java.nio.file.LinkOption;
import java.nio.file.Path;
import java.nio.file.Paths;
import java.nio.file.StandardCopyOption;

/**
 * Installs one file of the package folder into the user's home folder, where
 * the Java runtime looks for the user's own policy ({@code .java.policy}) and
 * the OpenCard Framework for the user's own settings
 * ({@code .opencard.properties}).
 *
 * <p>The one argument is the file's name in the home folder, which begins with
 * a dot; the package folder, the current directory, holds the file under the
 * same name without the dot. A file of that name already in the home folder is
 * kept once, as the name followed by {@code .ocf-bak}, before it is replaced,
 * so the user's own settings survive every later installation.
 *
 * <p>Exit status 0 when the file is installed; 2 for a wrong argument and 1
 * when the file cannot be installed, each with a message on standard error.
 * The class is one file with no inner classes: it is all that the package
 * folder needs to carry.
 */
public final class CopyPolicyFile {
    private static final String BACKUP_SUFFIX = ".ocf-bak";
    // A plain dotted file name: nothing that could lead out of the home folder.
    private static final String DOTTED_NAME = "\\.[A-Za-z0-9_][A-Za-z0-9_.-]*";
    private static final int EXIT_INSTALLED = 0;
    private static final int EXIT_NOT_INSTALLED = 1;
    private static final int EXIT_WRONG_ARGUMENT = 2;

    private CopyPolicyFile() {}

    public static void main(String[] args) {
        int status = install(args);
        if (status != EXIT_INSTALLED) {
            System.exit(status);
        }
    }

    private static int install(String[] args) {
        if (args.length != 1 || !args[0].matches(DOTTED_NAME)) {
            return fail(EXIT_WRONG_ARGUMENT,
                    "usage: java CopyPolicyFile .<name>, e.g. .java.policy (installs <name> of the current folder)");
        }
        String name = args[0];
        Path source = Paths.get(name.substring(1)).toAbsolutePath();
        if (!Files.isRegularFile(source)) {
            return fail(EXIT_NOT_INSTALLED, "no file " + source + " to install");
        }
        String home = System.getProperty("user.home");
        if (home == null || home.isEmpty() || !Files.isDirectory(Paths.get(home))) {
            return fail(EXIT_NOT_INSTALLED, "the user's home folder " + home + " does not exist");
        }
        Path target = Paths.get(home, name);
        if (Files.isDirectory(target, LinkOption.NOFOLLOW_LINKS)) {
            return fail(EXIT_NOT_INSTALLED, target + " is a folder");
        }
        Path backup = Paths.get(home, name + BACKUP_SUFFIX);
        try {
            if (Files.exists(target, LinkOption.NOFOLLOW_LINKS) && !Files.exists(backup, LinkOption.NOFOLLOW_LINKS)) {
                Files.copy(target, backup, StandardCopyOption.COPY_ATTRIBUTES);
            }
            Files.copy(source, target, StandardCopyOption.REPLACE_EXISTING);
        } catch (IOException e) {
            return fail(EXIT_NOT_INSTALLED, "cannot install " + source + " as " + target + ": " + e);
        }
        return EXIT_INSTALLED;
    }

    private static int fail(int status, String message) {
        System.err.println("CopyPolicyFile: " + message);
        return status;
    }
}
